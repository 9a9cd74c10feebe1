#include "tests/app/state/AppStateTestSupport.h"

namespace solvara::testing {
namespace {

using Mode = AppState::DisplayMode;

TEST_F(AppStateTest, EffectiveKelvinOverModesScheduleAndCustom) {
    AppState& s = state();  // 12:00, no engine state yet
    struct Row {
        Mode mode;
        bool manualSchedule;
        std::int64_t customKelvin;
        std::int64_t adjustment;
        std::int64_t expected;
    };
    const Row rows[] = {
        {Mode::auto_, false, 4000, 0, 5500},         // no engine state: the fallback
        {Mode::biohacker, false, 4000, -200, 5300},
        {Mode::movie, false, 4000, 0, 4200},
        {Mode::reading, false, 4000, 0, 3800},
        {Mode::coding, false, 4000, 0, 4500},
        {Mode::sunglasses, false, 4000, 0, 2200},
        {Mode::dark, false, 4000, -3000, 1800},      // clamped to the filter range
        {Mode::presentation, false, 4000, 3000, 6500},
        {Mode::disabled, false, 4000, -500, 6500},
        {Mode::movie, true, 4000, 0, 6500},          // noon is day in the 20:00-06:00 window
        {Mode::custom, true, 4000, 0, 4000},         // the schedule does not touch Custom
        {Mode::custom, false, 6500, 3000, 9500},     // Custom is not clamped upwards
        {Mode::custom, false, 1800, -3000, 1000},    // ... but never goes below 1000 K
    };
    for (const auto& row : rows) {
        s.setCurrentMode(row.mode);
        s.setUseManualNightSchedule(row.manualSchedule);
        s.setCustomModeKelvin(row.customKelvin);
        s.setManualKelvinAdjustment(row.adjustment);
        EXPECT_EQ(s.effectiveKelvin(), row.expected) << rawValue(row.mode) << " " << row.adjustment;
    }
    s.setIsEnabled(false);
    EXPECT_EQ(s.effectiveKelvin(), 6500);
}

TEST_F(AppStateTest, ManualNightWindowAcrossMidnight) {
    AppState& s = state();
    s.setUseManualNightSchedule(true);
    const std::pair<Date, std::int64_t> rows[] = {
        {at(2026, 1, 15, 23, 59), 1800}, {at(2026, 1, 16, 5, 59), 1800},
        {at(2026, 1, 16, 6, 0), 6500},   {at(2026, 1, 16, 19, 59), 6500},
        {at(2026, 1, 16, 20, 0), 1800},
    };
    for (const auto& [when, kelvin] : rows) {
        moveTo(when);
        EXPECT_EQ(s.effectiveKelvin(), kelvin) << Calendar::localComponents(when).hour;
    }
    s.setManualNightStartHour(13);
    s.setManualNightEndHour(13);
    moveTo(at(2026, 1, 17, 13, 0));
    EXPECT_EQ(s.effectiveKelvin(), 6500);  // an empty window is never night
}

TEST_F(AppStateTest, GammaTablesRampTowardsTheTargetInSmallSteps) {
    AppState& s = state();
    s.setCurrentMode(Mode::presentation);  // 6500 K at once (the mode change clears the ramp)
    ASSERT_EQ(s.appliedKelvin(), 6500);
    s.setTransitionDurationNight(2400);   // no engine state: the night duration, step 19
    s.setManualKelvinAdjustment(-4700);   // target 1800
    std::vector<std::int64_t> shown;
    for (int i = 0; i < 3; ++i) {
        s.applyCurrentState();
        shown.push_back(*s.appliedKelvin());
    }
    EXPECT_EQ(shown, (std::vector<std::int64_t>{6481, 6462, 6443}));
    EXPECT_EQ(s.displayManager().currentKelvin(), 6443);

    s.setTransitionDurationNight(100000);
    s.applyCurrentState();
    EXPECT_EQ(s.appliedKelvin(), 6442);
    s.setTransitionDurationNight(0);
    s.applyCurrentState();
    EXPECT_EQ(s.appliedKelvin(), 6422);

    // The sun above the horizon switches to the day duration (1200 s: 20 K); at 0° it is night.
    s.setTransitionDurationNight(2400);
    CircadianEngine::CircadianState sun;
    sun.solarElevation = 0.0;
    s.setCurrentState(sun);
    s.applyCurrentState();
    EXPECT_EQ(s.appliedKelvin(), 6403);
    sun.solarElevation = 0.5;
    s.setCurrentState(sun);
    s.applyCurrentState();
    EXPECT_EQ(s.appliedKelvin(), 6383);

    s.setCurrentMode(Mode::reading);  // a mode change jumps
    EXPECT_EQ(s.appliedKelvin(), 1800);
    s.setManualKelvinAdjustment(0);
    s.setGammaAPI(AppState::GammaAPI::byNightShift);  // no ramp for the night light
    EXPECT_EQ(s.appliedKelvin(), 3800);
}

TEST_F(AppStateTest, OffConditionsResetTheDisplaysButKeepTheDimmer) {
    AppState& s = state();
    s.setCurrentMode(Mode::sunglasses);
    EXPECT_EQ(dimmerWindows(), 1u);
    s.setCurrentMode(Mode::disabled);
    EXPECT_FALSE(s.appliedKelvin().has_value());
    EXPECT_EQ(s.displayManager().currentKelvin(), 6500);
    EXPECT_EQ(dimmerWindows(), 1u);  // the 0.6 veil stays
    s.setCurrentMode(Mode::auto_);   // PWM protection off: the dimmer goes
    EXPECT_EQ(dimmerWindows(), 0u);

    s.setCurrentFrontmostBundleID(std::string("code"));  // a profile, not colour-accurate
    s.applyCurrentState();
    EXPECT_TRUE(s.appliedKelvin().has_value());
    s.setCurrentFrontmostBundleID(std::string("org.gimp.GIMP"));
    s.applyCurrentState();
    EXPECT_FALSE(s.appliedKelvin().has_value());  // a colour-accurate application in front
    s.setAutoDisableByApp(false);
    s.applyCurrentState();
    EXPECT_TRUE(s.appliedKelvin().has_value());

    s.setIsFullscreenAppActive(true);
    s.applyCurrentState();
    EXPECT_FALSE(s.appliedKelvin().has_value());
}

TEST_F(AppStateTest, AdjustKelvinStaysWithinThreeThousand) {
    AppState& s = state();
    s.setManualKelvinAdjustment(2800);
    s.adjustKelvin(500);
    EXPECT_EQ(s.manualKelvinAdjustment(), 3000);
    for (int i = 0; i < 30; ++i) s.adjustKelvin(-500);
    EXPECT_EQ(s.manualKelvinAdjustment(), -3000);
    s.adjustKelvin(std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(s.manualKelvinAdjustment(), -3000);
}

TEST_F(AppStateTest, ScreenChangeRecordsDisplaysAndRebuildsOnlyTheDimmerThatIsUp) {
    AppState& s = state();
    s.setIsEnabled(false);
    fake.displayTransfer.displays = {11, 22};
    fake.screens.screenList.push_back(ScreenInfo{22, "Side", {1920, 0, 1280, 800}});
    s.handleScreenChange();  // recorded even while filtering is off
    ASSERT_EQ(s.perDisplaySettings().size(), 2u);
    EXPECT_EQ(s.perDisplaySettings().at(22).displayName, "Side");
    EXPECT_TRUE(fake.userDefaults.contains("sv_perDisplaySettings"));

    s.setIsEnabled(true);
    s.setCurrentMode(Mode::dark);
    EXPECT_EQ(dimmerWindows(), 2u);
    fake.displayTransfer.displays = {11, 22, 33};
    fake.screens.screenList.push_back(ScreenInfo{33, "Third", {3200, 0, 1280, 800}});
    s.handleScreenChange();
    EXPECT_EQ(dimmerWindows(), 3u);  // the new screen is dimmed like the others
    EXPECT_EQ(s.perDisplaySettings().size(), 3u);

    // Paused by a full-screen program, a dimming mode has no veil up, and gets none.
    s.setCurrentMode(Mode::auto_);
    s.setIsFullscreenAppActive(true);
    for (const auto mode : {Mode::sunglasses, Mode::dark}) {
        s.setCurrentMode(mode);
        s.handleScreenChange();
        EXPECT_EQ(dimmerWindows(), 0u) << rawValue(mode);
    }
}

TEST_F(AppStateTest, PerDisplayControlSendsEachDisplayItsOwnKelvin) {
    AppState& s = state();
    fake.displayTransfer.displays = {11, 22};
    s.handleScreenChange();
    auto map = s.perDisplaySettings();
    map.at(22).kelvinOverride = 3000;
    s.setPerDisplaySettings(map);
    s.setFeaturePerDisplayControl(true);
    s.setCurrentMode(Mode::presentation);
    const auto curveAt = [](std::int64_t kelvin) {
        const auto ramp = GammaRampGenerator{}.generateRamp(kelvin, 1.0);
        return FakeDisplayTransfer::Curve{ramp.red, ramp.green, ramp.blue};
    };
    EXPECT_EQ(fake.displayTransfer.current(11), curveAt(6500));
    EXPECT_EQ(fake.displayTransfer.current(22), curveAt(3000));
}

TEST_F(AppStateTest, EmergencyResetClearsEffectsUntilTheNextApply) {
    AppState& s = state();
    s.setCurrentMode(Mode::reading);
    s.setPwmProtectionEnabled(true);
    s.setScreenEffect(AppState::ScreenEffect::invert);
    s.setSpotlightEnabled(true);
    s.emergencyReset();
    EXPECT_EQ(s.screenEffect(), AppState::ScreenEffect::none);
    EXPECT_FALSE(s.pwmProtectionEnabled());
    EXPECT_FALSE(s.spotlightEnabled());
    EXPECT_EQ(dimmerWindows(), 0u);
    EXPECT_EQ(fake.displayTransfer.current(11), FakeDisplayTransfer::identity());
    EXPECT_EQ(fake.userDefaults.boolValue("sv_pwmProtection"), false);
    EXPECT_EQ(s.currentMode(), Mode::reading);  // untouched: the next apply filters again
    s.applyCurrentState();
    EXPECT_NE(fake.displayTransfer.current(11), FakeDisplayTransfer::identity());
}

}  // namespace
}  // namespace solvara::testing
