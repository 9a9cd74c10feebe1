#include "tests/app/state/AppStateTestSupport.h"

namespace solvara::testing {
namespace {

using Mode = AppState::DisplayMode;

TEST_F(AppStateTest, EqualWritesRunTheHandlerWithoutNotices) {
    AppState& s = state();
    s.setCoordinate(Coordinate{40.7128, -74.006});
    ASSERT_TRUE(s.appliedKelvin().has_value());
    observe();
    notices.clear();

    s.setIsEnabled(true);  // unchanged: no notice of its own, but the handler re-applies
    EXPECT_EQ(std::count(notices.begin(), notices.end(), "will:isEnabled"), 0);
    // The handler cleared the applied kelvin and applied it afresh.
    EXPECT_NE(std::find(notices.begin(), notices.end(), "did:appliedKelvin"), notices.end());

    notices.clear();
    s.setWakeHour(8);
    ASSERT_GE(notices.size(), 2u);
    EXPECT_EQ(notices.front(), "will:wakeHour");
    EXPECT_EQ(notices.back(), "did:wakeHour");  // after the handler's own nested changes
    EXPECT_EQ(s.circadianEngine().wakeTime().hour, 8);

    notices.clear();
    const auto map = s.perDisplaySettings();
    s.setPerDisplaySettings(map);  // the map counts as changed on every write
    EXPECT_EQ(notices, (std::vector<std::string>{"will:perDisplaySettings", "did:perDisplaySettings"}));

    notices.clear();
    s.setSelectedCity(CityLocation{Uuid::random(), "New York", 0, 0});  // same name: equal
    EXPECT_TRUE(notices.empty());
}

TEST_F(AppStateTest, EqualWritesStillActOnTheirServices) {
    AppState& s = state();
    s.setPwmProtectionEnabled(true);
    const auto firstWindows = fake.screens.windows.size();
    s.setPwmProtectionEnabled(true);  // rebuilds the dimmer windows
    EXPECT_GT(fake.screens.windows.size(), firstWindows);
    EXPECT_EQ(dimmerWindows(), 1u);

    s.setBreaksEnabled(true);
    const auto first = std::get<BreakScheduler::Counting>(s.breakScheduler().state()).nextBreakAt;
    fake.runLoop.advance(60);
    s.setBreaksEnabled(true);  // restarts the interval
    EXPECT_EQ(std::get<BreakScheduler::Counting>(s.breakScheduler().state()).nextBreakAt, first + 60);
}

TEST_F(AppStateTest, ManualSourceMovesTheCoordinateWhateverTheOrder) {
    AppState& s = state();
    const auto paris = *CityLocation::preset("Paris");
    s.setSelectedCity(paris);  // automatic source: the coordinate stays
    EXPECT_FALSE(s.coordinate().has_value());
    s.setLocationSource(AppState::LocationSource::manual);
    ASSERT_TRUE(s.coordinate().has_value());
    EXPECT_EQ(*s.coordinate(), (Coordinate{48.8566, 2.3522}));
    EXPECT_TRUE(s.currentState().has_value());  // the update ran at once

    s.setSelectedCity(*CityLocation::preset("Quito"));
    EXPECT_EQ(s.coordinate()->latitude, -0.1807);
}

TEST_F(AppStateTest, LaunchAtLoginShowsTheRealRegistration) {
    loginItem.registered = true;  // at launch, whatever was stored
    AppState& s = state();
    EXPECT_TRUE(s.launchAtLoginEnabled());
    s.setLaunchAtLoginEnabled(false);
    EXPECT_FALSE(loginItem.registered);
    s.setLaunchAtLoginEnabled(true);
    EXPECT_TRUE(loginItem.registered);

    loginItem.failure = "permission denied";
    s.setLaunchAtLoginEnabled(false);
    EXPECT_TRUE(loginItem.registered);
    EXPECT_TRUE(s.launchAtLoginEnabled());  // still registered, so the switch says so
    EXPECT_TRUE(fake.log.contains("Launch at login error: permission denied"));
}

TEST_F(AppStateTest, MovieModeReturnsToAutoAfterItsTime) {
    AppState& s = state();
    s.setMovieModeAutoRevertMinutes(1);
    s.setCurrentMode(Mode::movie);
    fake.runLoop.advance(30);
    s.setCurrentMode(Mode::movie);  // the countdown starts again
    fake.runLoop.advance(59);
    EXPECT_EQ(s.currentMode(), Mode::movie);
    fake.runLoop.advance(1);
    EXPECT_EQ(s.currentMode(), Mode::auto_);

    s.setCurrentMode(Mode::movie);
    s.setCurrentMode(Mode::reading);  // another mode cancels the return
    s.setMovieModeAutoRevertMinutes(0);
    s.setCurrentMode(Mode::movie);  // "Never"
    fake.runLoop.advance(100000);
    EXPECT_EQ(s.currentMode(), Mode::movie);
}

TEST_F(AppStateTest, InvertedScreenIsStoredOnlyAfterThreeSeconds) {
    AppState& s = state();
    s.persistSettings();
    s.setScreenEffect(AppState::ScreenEffect::invert);
    EXPECT_EQ(fake.userDefaults.stringValue("sv_screenEffect"), "None");
    fake.runLoop.advance(2.9);
    EXPECT_EQ(fake.userDefaults.stringValue("sv_screenEffect"), "None");
    fake.runLoop.advance(0.1);
    EXPECT_EQ(fake.userDefaults.stringValue("sv_screenEffect"), "Invert");

    s.setScreenEffect(AppState::ScreenEffect::grayscale);
    s.setScreenEffect(AppState::ScreenEffect::none);  // cancels the pending persist, stores at once
    EXPECT_EQ(fake.userDefaults.stringValue("sv_screenEffect"), "None");
    fake.runLoop.advance(5);
    EXPECT_EQ(fake.userDefaults.stringValue("sv_screenEffect"), "None");
}

TEST_F(AppStateTest, BreaksOffDuringABreakClearsTheOverlay) {
    AppState& s = state();
    s.setBreaksEnabled(true);
    s.breakScheduler().triggerBreak();
    s.tickBreakTimer();
    ASSERT_TRUE(s.showBreakOverlay());
    s.setBreaksEnabled(false);
    EXPECT_FALSE(s.showBreakOverlay());
    EXPECT_EQ(s.breakCountdownText(), "");
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::Idle>(s.breakScheduler().state()));

    s.setBreakIntervalMinutes(30);  // breaks off: only the configuration changes
    EXPECT_EQ(s.breakScheduler().config().intervalMinutes, 30);
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::Idle>(s.breakScheduler().state()));
}

TEST_F(AppStateTest, VignetteFollowsItsSettings) {
    AppState& s = state();
    s.setVignetteRadius(0.4);  // off: only stored
    EXPECT_TRUE(s.vignetteDimmer().overlayWindows().empty());
    s.setVignetteEnabled(true);
    ASSERT_EQ(s.vignetteDimmer().overlayWindows().size(), 1u);
    EXPECT_DOUBLE_EQ(s.vignetteDimmer().overlayWindows()[0].view->vignetteRadius(), 0.4);
    s.setVignetteOpacity(0.8);
    EXPECT_DOUBLE_EQ(s.vignetteDimmer().overlayWindows()[0].view->vignetteOpacity(), 0.8);
    s.setVignetteEnabled(false);
    EXPECT_TRUE(s.vignetteDimmer().overlayWindows().empty());
}

TEST_F(AppStateTest, SoundscapeSettingsReachTheAttachedManager) {
    AppState& s = state();
    s.setSoundscapeVolume(0.5);  // no manager yet: only stored
    EXPECT_EQ(fake.userDefaults.realValue("sv_soundscapeVolume"), 0.5);

    s.setSoundscapeManager(std::make_unique<SoundscapeManager>(fake.runLoop, fake.audio));
    const SoundscapeManager& manager = *s.soundscapeManager();
    s.setSoundscapeVolume(0.7);
    EXPECT_FLOAT_EQ(manager.targetVolume(), 0.7f);

    const auto generation = manager.generationID();
    s.setSoundscapeTheme("Rainfall");
    EXPECT_EQ(manager.theme(), SoundscapeGenerator::SoundscapeTheme::rain);
    EXPECT_GT(manager.generationID(), generation);  // stopped, to restart with the new theme
    const auto afterChange = manager.generationID();
    s.setSoundscapeTheme("Rainfall");  // the manager's own theme: no stop
    s.setSoundscapeTheme("Thunder");   // not a theme: stored only
    EXPECT_EQ(manager.generationID(), afterChange);
    EXPECT_EQ(manager.theme(), SoundscapeGenerator::SoundscapeTheme::rain);
    EXPECT_EQ(fake.userDefaults.stringValue("sv_soundscapeTheme"), "Thunder");
}

}  // namespace
}  // namespace solvara::testing
