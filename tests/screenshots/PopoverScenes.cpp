// The tray popover before the first engine state, by day with the filter off, and at night with
// breaks on; the tray's right-click menu.

#include <QMenu>
#include <QVBoxLayout>

#include "app/ui/kit/AppActions.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "app/ui/popover/TrayIcon.h"
#include "tests/screenshots/Screenshots.h"

using namespace solvara;

namespace {

// 2026-06-21 in UTC.
constexpr double midsummer = 804038400.0;

}  // namespace

SOLVARA_SCENE(popoverInitializing, "popover-initializing", 320, 0) {
    return std::make_unique<MenuBarPopover>(scene.state(), scene.ui());
}

SOLVARA_SCENE(popoverDayOff, "popover-day-off", 320, 0) {
    scene.updateAt(Date(midsummer + 12 * 3600.0));
    scene.state().setIsEnabled(false);
    return std::make_unique<MenuBarPopover>(scene.state(), scene.ui());
}

SOLVARA_SCENE(popoverNightBreaks, "popover-night-breaks", 320, 0) {
    scene.updateAt(Date(midsummer + 22.5 * 3600.0));
    scene.state().setBreaksEnabled(true);
    scene.state().tickBreakTimer();
    return std::make_unique<MenuBarPopover>(scene.state(), scene.ui());
}

SOLVARA_SCENE(popoverMorningBoost, "popover-morning", 320, 0) {
    scene.setStart(Date(midsummer + 4.25 * 3600.0));
    scene.state().setWakeHour(2);  // civil dawn lies near the wake time: the morning boost runs
    scene.updateAt(Date(midsummer + 4.25 * 3600.0));
    scene.state().setCurrentMode(DisplayMode::reading);
    return std::make_unique<MenuBarPopover>(scene.state(), scene.ui());
}

// Breaks off, so "Take Break Now" shows disabled. The menu is drawn in the page, not as a popup.
SOLVARA_SCENE(trayMenu, "tray-menu", 400, 0) {
    auto page = std::make_unique<QWidget>();
    auto* actions = new AppActions(scene.state(), scene.ui(), page.get());
    auto* tray = new TrayIcon(scene.state(), scene.ui(), *actions, page.get());
    QMenu* menu = tray->menu();
    menu->setParent(page.get(), Qt::Widget);
    auto* stack = new QVBoxLayout(page.get());
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(menu, 0, Qt::AlignLeft);
    return page;
}
