#pragma once

#include <memory>

namespace solvara {

class AppActions;
class AppDelegate;
class MainWindow;
struct UiServices;

// Gives the application delegate its main window: fills in the delegate's main-window hooks so
// that the start-up creates the window, and a second launch or the popover's request brings the
// same window forward. The shared commands make its menu bar, and their request for the
// Shortcuts tab brings the window forward on that tab. Owns the window; build it after the
// delegate and the commands, so the window goes first.
class MainWindowHost {
public:
    MainWindowHost(AppDelegate& delegate, UiServices& ui, AppActions& actions);
    ~MainWindowHost();

    MainWindowHost(const MainWindowHost&) = delete;
    MainWindowHost& operator=(const MainWindowHost&) = delete;

    // The window once the start-up created it.
    MainWindow* window() const { return window_.get(); }

private:
    void create();
    void showTab(int tab);

    AppDelegate& delegate_;
    UiServices& ui_;
    AppActions& actions_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace solvara
