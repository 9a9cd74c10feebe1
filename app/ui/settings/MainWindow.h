#pragma once

#include <QMainWindow>
#include <QPointer>

#include "app/ui/settings/SettingsTab.h"

class QAction;
class QDialog;

namespace solvara {

class AppActions;
class AppState;
class OnboardingFlow;
class SettingsView;
struct UiServices;

// The program's main window: the settings view, light or dark as the state decides (it follows
// the decision live), and, while the onboarding flag is false, the first-run flow over it in a
// window-modal sheet that only the flow's own finish closes. Closing the window hides it; the
// program goes on and the same window comes back. Its "Quit Solvara" ends the program, which
// matters where there is no tray to quit from.
class MainWindow : public QMainWindow {
public:
    MainWindow(AppState& state, UiServices& ui, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the window (centred on its first showing) and brings it to the front with the focus;
    // while the first-run sheet is up, the sheet comes to the front over it and takes the focus.
    void present();
    void showTab(SettingsTab tab);
    // The menu bar: the shared commands, "Solvara" (About and Quit) first, then Controls and
    // Help. Quit's Ctrl+Q works whatever has the focus, the first-run sheet included.
    void addMenus(const AppActions& actions);

    SettingsView* settingsView() const { return view_; }
    // The first-run sheet while it is presented.
    QDialog* onboardingSheet() const { return sheet_; }
    bool isDark() const { return dark_; }

    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyTheme(bool dark);
    // Shows the sheet once the window is on screen (see eventFilter).
    void presentSheet();
    QDialog* makeSheet();
    void showSheet();
    void raiseSheet();
    void dismissSheet();

    AppState& state_;
    UiServices& ui_;
    SettingsView* view_;
    QDialog* sheet_ = nullptr;
    QPointer<QAction> quit_;
    bool dark_ = false;
    bool placed_ = false;
};

}  // namespace solvara
