// The tray popover before the first engine state, by day with the filter off, and at night with
// breaks on.

#include "app/ui/popover/MenuBarPopover.h"
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
