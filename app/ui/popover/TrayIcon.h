#pragma once

#include <optional>
#include <string>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRect>

#include "app/state/AppState.h"
#include "app/ui/kit/UiServices.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "app/ui/popover/PopoverPlacement.h"

class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace solvara {

class AppActions;

// The program's item in the system tray: the state's menu-bar symbol, redrawn when it changes;
// a left click opens the popover below the icon (at the pointer when the tray tells no place),
// beside the panel and inside the click's monitor (PopoverPlacement), and a second click closes
// it; a right click opens a menu with the same commands (open, the Controls, Help, About, quit).
//
// The popover is a popup: it holds the pointer while it is open, so a right click on the icon
// reaches neither the tray nor the panel's host, only the popover, which closes. When that press
// lies on the icon (PopoverPlacement::iconArea) the menu opens as well.
//
// The menu is the tray icon's context menu, so it reaches every kind of tray: Qt shows it at the
// pointer on XEmbed trays (trayer, stalonetray) and exports it over com.canonical.dbusmenu to
// StatusNotifierItem hosts (KDE Plasma, GNOME's AppIndicator extension, xfce4-panel, lxqt-panel,
// waybar), which read its layout whenever they like, not only when they show it: its actions
// follow the state as it changes (AppActions), never only when the menu opens.
//
// The popover is built at each opening and released when it closes, so nothing of it costs
// memory or time while the program sits in the tray. Without a tray host (GNOME without an
// extension, a bare X session) the program runs on: that is logged once, and a second launch
// or the desktop file brings up the main window instead. The icon comes as soon as a tray host
// appears (a panel started after the program, as at login), and not before (see followHosts).
class TrayIcon : public QObject {
    Q_OBJECT

public:
    TrayIcon(AppState& state, UiServices& ui, AppActions& actions, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Puts the item into the tray, now or when a tray host first runs.
    void show();
    // Opens the popover, or closes it when it is open.
    void togglePopover();
    void openPopover();
    // None while closed, and while it is being destroyed.
    MenuBarPopover* popover() const { return qobject_cast<MenuBarPopover*>(popover_.data()); }
    // None until a tray host has run.
    QSystemTrayIcon* systemTrayIcon() const { return tray_; }
    // The right-click menu.
    QMenu* menu() const { return menu_; }
    const std::string& symbol() const { return symbol_; }

signals:
    void openMainWindowRequested();
    // The popover's Quit: the displays and the dimmer are already reset when this comes. The
    // menu's Quit goes through AppActions::quit().
    void quitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void followHosts();
    void createTray();
    void showMenu(const QPoint& at);
    void refresh();

    AppState& state_;
    UiServices& ui_;
    AppActions& actions_;
    QSystemTrayIcon* tray_;
    QMenu* menu_;
    bool saidNoTray_ = false;
    // Runs while an XEmbed tray waits for the host of a StatusNotifierWatcher (followHosts).
    QTimer* hostGrace_ = nullptr;
    bool hostGraceOver_ = false;
    // Held as a QObject: the popover deletes itself on close, and while ~QWidget runs it still
    // sends events through the filter (its children's removal) but is no MenuBarPopover any
    // more, so a cast to one there would be undefined.
    QPointer<QObject> popover_;
    std::string symbol_;
    // A click on the icon while the popover is open first closes the popover (it is a popup)
    // and then reaches the icon: that click must not open it again.
    QElapsedTimer sinceClosed_;
    // Where a right press outside the open popover counts as one on the icon.
    QRect iconArea_;
    // Where the open popover was placed from, kept for its changes of height.
    std::optional<PopoverPlacement> placement_;
    // Where the open popover was last put, at its size then.
    QRect placed_;
};

}  // namespace solvara
