#pragma once

#include <QWidget>

#include "app/ui/settings/SettingsTab.h"

class QListWidget;
class QScrollArea;

namespace solvara {

class AppState;
struct UiServices;

// The main window's content: a 160 px sidebar of the eleven tabs in five titled groups, a
// divider, and the selected tab's view in a scroll area, 780 x 560 px in all. Each selection
// builds the tab's view afresh (the previous one and its presentation state go), so returning to
// a tab shows it as new. The sidebar's group titles are rows the keyboard skips.
class SettingsView : public QWidget {
public:
    static constexpr int width = 780;
    static constexpr int height = 560;
    static constexpr int sidebarWidth = 160;

    SettingsView(AppState& state, UiServices& ui, QWidget* parent = nullptr);

    // Shows `tab`, marking its sidebar row.
    void select(SettingsTab tab);
    SettingsTab selectedTab() const { return selected_; }
    QWidget* tabView() const { return view_; }
    QListWidget* sidebar() const { return sidebar_; }

private:
    void showSelectedRow();
    QWidget* makeView(SettingsTab tab);

    AppState& state_;
    UiServices& ui_;
    QListWidget* sidebar_;
    QScrollArea* content_;
    QWidget* view_ = nullptr;
    SettingsTab selected_ = SettingsTab::dashboard;
};

}  // namespace solvara
