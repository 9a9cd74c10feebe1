// The main window's settings view, its menu bar with the Solvara menu open, and each settings tab
// at its full length.

#include <QMenu>
#include <QMenuBar>

#include "app/services/KeyboardShortcutManager.h"
#include "app/ui/kit/AppActions.h"
#include "app/ui/settings/BreakSettingsTab.h"
#include "app/ui/settings/DisplaySettingsTab.h"
#include "app/ui/settings/FeaturesSettingsTab.h"
#include "app/ui/settings/GeneralSettingsTab.h"
#include "app/ui/settings/HelpTab.h"
#include "app/ui/settings/MainWindow.h"
#include "app/ui/settings/ProfilesSettingsTab.h"
#include "app/ui/settings/ScheduleSettingsTab.h"
#include "app/ui/settings/SettingsView.h"
#include "app/ui/settings/ShortcutsSettingsTab.h"
#include "core/foundation/Clock.h"
#include "platform/fake/FakePlatform.h"
#include "tests/screenshots/Screenshots.h"

using namespace solvara;

namespace {

constexpr int tabWidth = 620;  // the content area beside the sidebar

// Manual location (Berlin), the sun computed, and a break being counted.
void prepare(screenshots::SceneContext& scene) {
    AppState& state = scene.state();
    state.setLocationSource(LocationSource::manual);
    if (auto berlin = CityLocation::preset("Berlin")) state.setSelectedCity(*berlin);
    scene.updateAt(Clock::now());
}

}  // namespace

SOLVARA_SCENE(mainWindow, "main-window", SettingsView::width, SettingsView::height) {
    prepare(scene);
    auto view = std::make_unique<SettingsView>(scene.state(), scene.ui());
    view->select(SettingsTab::general);
    return view;
}

// The menu is drawn in the window, under its title, not as a popup.
SOLVARA_SCENE(mainWindowMenus, "main-window-menus", SettingsView::width, 0) {
    prepare(scene);
    scene.state().setHasCompletedOnboarding(true);
    auto window = std::make_unique<MainWindow>(scene.state(), scene.ui());
    auto* actions = new AppActions(scene.state(), scene.ui(), window.get());
    window->addMenus(*actions);
    auto* menu = window->findChild<QMenu*>("applicationMenu");
    menu->setParent(window.get(), Qt::Widget);
    menu->adjustSize();
    menu->move(0, window->menuBar()->sizeHint().height());
    menu->show();
    menu->raise();
    return window;
}

SOLVARA_SCENE(settingsGeneral, "settings-general", tabWidth, 0) {
    prepare(scene);
    return std::make_unique<GeneralSettingsTab>(scene.state(), scene.ui());
}

SOLVARA_SCENE(settingsSchedule, "settings-schedule", tabWidth, 0) {
    prepare(scene);
    scene.state().setWeekendScheduleEnabled(true);
    scene.state().setUseManualNightSchedule(true);
    return std::make_unique<ScheduleSettingsTab>(scene.state());
}

SOLVARA_SCENE(settingsDisplay, "settings-display", tabWidth, 0) {
    prepare(scene);
    AppState& state = scene.state();
    state.setCurrentMode(DisplayMode::custom);
    state.setPwmProtectionEnabled(true);
    state.setSpotlightEnabled(true);
    state.setUseSoftwareCursor(true);
    state.setFontSmoothingEnabled(false);
    PerDisplaySettingsMap displays;
    displays[2] = PerDisplaySettings{2, "DUMMY1 (1280 x 800)", true, 3400, 0.8};
    displays[1] = PerDisplaySettings{1, "DUMMY0 (1920 x 1080)", true, std::nullopt, std::nullopt};
    displays[3] = PerDisplaySettings{3, "HDMI-1", false, std::nullopt, std::nullopt};
    state.setPerDisplaySettings(displays);
    return std::make_unique<DisplaySettingsTab>(state);
}

SOLVARA_SCENE(settingsBreaks, "settings-breaks", tabWidth, 0) {
    prepare(scene);
    scene.state().setBreaksEnabled(true);
    scene.state().breakScheduler().restoreStats(3, 1);
    scene.state().tickBreakTimer();
    return std::make_unique<BreakSettingsTab>(scene.state());
}

SOLVARA_SCENE(settingsShortcuts, "settings-shortcuts", tabWidth, 0) {
    FakePlatform& platform = scene.platform();
    AppState& state = scene.state();
    auto manager =
        std::make_unique<KeyboardShortcutManager>(platform.userDefaults, platform.globalShortcuts, platform.runLoop);
    manager->loadShortcuts();
    auto table = manager->shortcuts();
    table[KeyboardShortcutManager::Action::triggerBreak] = {96, KeyboardShortcutManager::shiftKey};
    table.erase(KeyboardShortcutManager::Action::openSettings);
    manager->setShortcuts(std::move(table));
    state.setShortcutManager(std::move(manager));
    auto tab = std::make_unique<ShortcutsSettingsTab>(state);
    tab->refresh();
    return tab;
}

SOLVARA_SCENE(settingsProfiles, "settings-profiles", tabWidth, 0) {
    AppState& state = scene.state();
    state.profileManager().addProfile(
        ActivityProfile("Writing", {"org.gnome.TextEditor", "libreoffice-writer", "abiword", "focuswriter"},
                        ActivityProfile::Behavior::reading, false));
    return std::make_unique<ProfilesSettingsTab>(state);
}

// A name and identifiers far longer than the row: both cut short, the badge and buttons in sight.
SOLVARA_SCENE(settingsProfilesLong, "settings-profiles-long", tabWidth, 0) {
    AppState& state = scene.state();
    state.profileManager().addProfile(
        ActivityProfile("Photo retouching for the print shop, colour proofs and the evening edits",
                        {"org.gimp.GIMP.colour-managed-workspace", "com.example.darktable-raw-development-studio",
                         "net.example.rawtherapee-professional-edition", "org.inkscape.Inkscape"},
                        ActivityProfile::Behavior::colorAccurate, false));
    return std::make_unique<ProfilesSettingsTab>(state);
}

SOLVARA_SCENE(settingsFeatures, "settings-features", tabWidth, 0) {
    scene.state().setFeatureSoundscapes(true);
    scene.state().setSoundscapeVolume(0.35);
    return std::make_unique<FeaturesSettingsTab>(scene.state());
}

SOLVARA_SCENE(settingsHelp, "settings-help", tabWidth, 0) {
    return std::make_unique<HelpTab>(scene.state(), scene.ui());
}
