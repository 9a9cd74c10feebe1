#pragma once

#include <memory>

#include <QObject>

#include "app/ui/kit/UiServices.h"

namespace solvara {

class AppActions;
class AppDelegate;
class TrayIcon;

// What the program shows besides its windows, wired to the delegate: the shared commands
// (AppActions), the tray item with its popover and menu, and the application-wide light or
// dark look that the state's automatic appearance decides. Build it after the delegate and
// before the delegate's start-up; it outlives neither.
class TrayShell : public QObject {
public:
    TrayShell(AppDelegate& delegate, UiServices& ui, QObject* parent = nullptr);
    ~TrayShell() override;

    AppActions& actions() const { return *actions_; }
    TrayIcon& trayIcon() const { return *trayIcon_; }

private:
    AppDelegate& delegate_;
    AppActions* actions_;
    TrayIcon* trayIcon_;
};

}  // namespace solvara
