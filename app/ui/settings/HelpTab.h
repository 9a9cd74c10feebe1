#pragma once

#include "app/ui/settings/SettingsControls.h"

namespace solvara {

class AppState;
struct UiServices;

// Fixed help: the first steps, the default shortcuts, links to the product's pages and to a
// feedback message, "Restart Tour" (which brings the first-run flow back), and tips.
class HelpTab : public settingsui::SettingsPage {
public:
    HelpTab(AppState& state, UiServices& ui, QWidget* parent = nullptr);

private:
    void open(const QString& address);

    AppState& state_;
    UiServices& ui_;
};

}  // namespace solvara
