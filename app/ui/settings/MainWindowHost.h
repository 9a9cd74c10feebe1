#pragma once

#include <memory>

namespace solvara {

class AppDelegate;
class MainWindow;
struct UiServices;

// Gives the application delegate its main window: fills in the delegate's main-window hooks so
// that the start-up creates the window, and a second launch or the popover's request brings the
// same window forward. Owns the window; build it after the delegate, so the window goes first.
class MainWindowHost {
public:
    MainWindowHost(AppDelegate& delegate, UiServices& ui);
    ~MainWindowHost();

    MainWindowHost(const MainWindowHost&) = delete;
    MainWindowHost& operator=(const MainWindowHost&) = delete;

    // The window once the start-up created it.
    MainWindow* window() const { return window_.get(); }

private:
    AppDelegate& delegate_;
    UiServices& ui_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace solvara
