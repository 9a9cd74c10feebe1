#include <algorithm>
#include <cmath>

#include "tests/app/state/AppStateTestSupport.h"

namespace solvara::testing {
namespace {

using Mode = AppState::DisplayMode;

// Every key the state writes, in the order it writes them.
const std::vector<std::string> allKeys = {
    "sv_isEnabled", "sv_currentMode", "sv_morningBoost", "sv_pwmProtection", "sv_dimmerOpacity",
    "sv_pwmThreshold", "sv_wakeHour", "sv_wakeMinute", "sv_sleepHour", "sv_sleepMinute", "sv_breaksEnabled",
    "sv_breakInterval", "sv_breakPostpone", "sv_locationSource", "sv_selectedCity", "sv_dayKelvin",
    "sv_nightKelvin", "sv_customModeKelvin", "sv_customModeDimLevel", "sv_inactivityPause",
    "sv_inactivityThreshold", "sv_screenEffect", "sv_transitionDay", "sv_transitionNight", "sv_manualNight",
    "sv_nightStartHour", "sv_nightStartMinute", "sv_nightEndHour", "sv_nightEndMinute", "sv_gammaAPI",
    "sv_breakStartSound", "sv_breakEndSound", "sv_breakScreenType", "sv_fontSmoothing", "sv_spotlight",
    "sv_spotlightRadius", "sv_spotlightOpacity", "sv_softwareCursor", "sv_cursorStyle", "sv_blockKeyboard",
    "sv_hideDock", "sv_perDisplaySettings", "sv_autoDisableByApp", "sv_autoDarkMode", "sv_sleepAlarm",
    "sv_autoDisableFullscreen", "sv_movieModeRevert", "sv_weekendSchedule", "sv_weekendWakeHour",
    "sv_weekendSleepHour", "sv_sleepQualityRating", "sv_lastSleepRatingDate", "sv_transitionSounds",
    "sv_ft_circadian", "sv_ft_breaks", "sv_ft_morningBoost", "sv_ft_perDisplay", "sv_ft_inactivity",
    "sv_ft_spotlight", "sv_ft_cursor", "sv_ft_soundscapes", "sv_soundscapeVolume", "sv_soundscapeTheme",
    "sv_hasCompletedOnboarding", "sv_exposureRecords", "sv_breaksCompleted", "sv_breaksSkipped",
    "sv_lightDebtPoints", "sv_lightDebtDate", "sv_morningSunlightToday", "sv_customProfiles",
    "sv_lastDailyResetDate", "sv_lightDebtPeakToday", "sv_healthHistory", "sv_vignetteEnabled",
    "sv_vignetteRadius", "sv_vignetteOpacity", "sv_ambientLight", "sv_flowDetection", "sv_dstSmoothing",
    "sv_dstTransitionDate", "sv_dstDirection", "sv_dstLastOffset",
};

nlohmann::json exposureRecord(Date when, double seconds) {
    return {{"timestamp", when.secondsSinceReferenceDate}, {"colorTemperature", 3000}, {"melanopicEDI", 20.0},
            {"durationSeconds", seconds}, {"isPostDLMO", true}};
}

TEST_F(AppStateTest, PersistWritesEveryKeyAndNothingElse) {
    AppState& s = state();
    s.setCoordinate(Coordinate{40.7128, -74.006});
    s.profileManager().addProfile(ActivityProfile("Mine", {"org.example.app"}, ActivityProfile::Behavior::coding, false));
    s.healthHistory().recordDay("2026-01-14", 2, 3, 1, 1, 0, 80, std::nullopt);
    s.persistSettings();
    ASSERT_EQ(allKeys.size(), 83u);
    std::vector<std::string> stored;
    for (const auto& [key, value] : fake.userDefaults.values) stored.push_back(key);
    auto expected = allKeys;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(stored, expected);

    // Without profiles of the user's own the key goes away.
    s.profileManager().restoreCustomProfiles("[]");
    s.persistSettings();
    EXPECT_FALSE(fake.userDefaults.contains("sv_customProfiles"));
}

TEST_F(AppStateTest, FirstPersistStoresEveryDefaultInItsForm) {
    state().persistSettings();
    using V = std::variant<bool, std::int64_t, double, std::string, nlohmann::json>;
    const auto text = [](const char* value) { return V(std::string(value)); };
    const auto integer = [](std::int64_t value) { return V(value); };
    // The value forms matter: the launch reads each key back with its own typed getter.
    const std::vector<std::pair<std::string, V>> expected = {
        {"sv_isEnabled", true}, {"sv_currentMode", text("Auto")}, {"sv_morningBoost", true},
        {"sv_pwmProtection", false}, {"sv_dimmerOpacity", 0.3}, {"sv_pwmThreshold", 40.0},
        {"sv_wakeHour", integer(7)}, {"sv_wakeMinute", integer(0)}, {"sv_sleepHour", integer(23)},
        {"sv_sleepMinute", integer(0)}, {"sv_breaksEnabled", false}, {"sv_breakInterval", integer(20)},
        {"sv_breakPostpone", integer(5)}, {"sv_locationSource", text("Automatic")},
        {"sv_selectedCity", text("New York")}, {"sv_dayKelvin", integer(6500)}, {"sv_nightKelvin", integer(1800)},
        {"sv_customModeKelvin", integer(4000)}, {"sv_customModeDimLevel", 0.0}, {"sv_inactivityPause", false},
        {"sv_inactivityThreshold", integer(15)}, {"sv_screenEffect", text("None")},
        {"sv_transitionDay", integer(1200)}, {"sv_transitionNight", integer(2400)}, {"sv_manualNight", false},
        {"sv_nightStartHour", integer(20)}, {"sv_nightStartMinute", integer(0)}, {"sv_nightEndHour", integer(6)},
        {"sv_nightEndMinute", integer(0)}, {"sv_gammaAPI", text("By Table")}, {"sv_breakStartSound", text("Chime")},
        {"sv_breakEndSound", text("Bell")}, {"sv_breakScreenType", text("Simple Text")},
        {"sv_fontSmoothing", true}, {"sv_spotlight", false}, {"sv_spotlightRadius", 200.0},
        {"sv_spotlightOpacity", 0.7}, {"sv_softwareCursor", false}, {"sv_cursorStyle", text("Default")},
        {"sv_blockKeyboard", false}, {"sv_hideDock", false}, {"sv_perDisplaySettings", V(nlohmann::json::array())},
        {"sv_autoDisableByApp", true}, {"sv_autoDarkMode", true}, {"sv_sleepAlarm", true},
        {"sv_autoDisableFullscreen", true}, {"sv_movieModeRevert", integer(150)}, {"sv_weekendSchedule", false},
        {"sv_weekendWakeHour", integer(9)}, {"sv_weekendSleepHour", integer(0)},
        {"sv_sleepQualityRating", integer(0)}, {"sv_lastSleepRatingDate", text("")},
        {"sv_transitionSounds", true}, {"sv_ft_circadian", true}, {"sv_ft_breaks", false},
        {"sv_ft_morningBoost", true}, {"sv_ft_perDisplay", false}, {"sv_ft_inactivity", false},
        {"sv_ft_spotlight", false}, {"sv_ft_cursor", false}, {"sv_ft_soundscapes", false},
        {"sv_soundscapeVolume", 0.3}, {"sv_soundscapeTheme", text("Ocean Waves")},
        {"sv_hasCompletedOnboarding", false}, {"sv_exposureRecords", V(nlohmann::json::array())},
        {"sv_breaksCompleted", integer(0)}, {"sv_breaksSkipped", integer(0)},
        {"sv_lightDebtPoints", 0.0}, {"sv_lightDebtDate", text("")}, {"sv_morningSunlightToday", 0.0},
        {"sv_lastDailyResetDate", text("")}, {"sv_lightDebtPeakToday", 0.0},
        {"sv_healthHistory", V(nlohmann::json::array())}, {"sv_vignetteEnabled", false},
        {"sv_vignetteRadius", 0.6}, {"sv_vignetteOpacity", 0.5}, {"sv_ambientLight", false},
        {"sv_flowDetection", true}, {"sv_dstSmoothing", true}, {"sv_dstTransitionDate", 0.0},
        {"sv_dstDirection", integer(0)}, {"sv_dstLastOffset", integer(0)},  // the test runs in UTC
    };
    // No profiles of the user's own: that key alone is not written.
    ASSERT_EQ(expected.size(), 82u);
    EXPECT_EQ(fake.userDefaults.values.size(), expected.size());
    const UserDefaults& d = fake.userDefaults;
    for (const auto& [key, value] : expected) {
        ASSERT_TRUE(d.contains(key)) << key;
        // Each getter answers only for its own form (the real one also reads an integer).
        std::visit(
            [&, key = key]<class T>(const T& want) {
                if constexpr (std::is_same_v<T, bool>) {
                    EXPECT_EQ(d.boolValue(key), want) << key;
                } else if constexpr (std::is_same_v<T, std::int64_t>) {
                    EXPECT_EQ(d.integerValue(key), want) << key;
                } else if constexpr (std::is_same_v<T, double>) {
                    EXPECT_FALSE(d.integerValue(key).has_value()) << key;
                    EXPECT_EQ(d.realValue(key), want) << key;
                } else if constexpr (std::is_same_v<T, std::string>) {
                    EXPECT_EQ(d.stringValue(key), want) << key;
                } else {
                    EXPECT_EQ(d.jsonValue(key), want) << key;
                }
            },
            value);
    }
}

TEST_F(AppStateTest, SettingsComeBackAfterARelaunch) {
    AppState& s = state();
    s.setCurrentMode(Mode::reading);
    s.setWakeHour(6);
    s.setSleepMinute(30);
    s.setDayKelvin(5800);
    s.setBreaksEnabled(true);
    s.setBreakIntervalMinutes(45);
    s.setLocationSource(AppState::LocationSource::manual);
    s.setSelectedCity(*CityLocation::preset("São Paulo"));
    s.setGammaAPI(AppState::GammaAPI::byOverlay);
    s.setSoundscapeTheme("Rainfall");
    s.setVignetteRadius(0.3);
    s.setFeaturePerDisplayControl(true);
    s.setPerDisplaySettings({{3000000000u, PerDisplaySettings{3000000000u, "Big", false, 2700, 0.5}}});
    s.setHasCompletedOnboarding(true);
    const auto expectedMap = s.perDisplaySettings();

    relaunch();
    AppState& r = state();
    EXPECT_EQ(r.currentMode(), Mode::reading);
    EXPECT_EQ(r.wakeHour(), 6);
    EXPECT_EQ(r.sleepMinute(), 30);
    EXPECT_EQ(r.dayKelvin(), 5800);
    EXPECT_EQ(r.circadianEngine().dayKelvin(), 5800);
    EXPECT_EQ(r.circadianEngine().wakeTime(), (CircadianEngine::TimeOfDay{6, 0}));
    EXPECT_EQ(r.breakScheduler().config().intervalMinutes, 45);
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::Counting>(r.breakScheduler().state()));
    EXPECT_EQ(r.selectedCity().name, "São Paulo");
    ASSERT_TRUE(r.coordinate().has_value());  // the manual city puts the user there
    EXPECT_EQ(r.coordinate()->latitude, -23.5505);
    EXPECT_EQ(r.gammaAPI(), AppState::GammaAPI::byTable);  // never restored
    EXPECT_EQ(r.soundscapeTheme(), "Rainfall");
    EXPECT_EQ(r.vignetteRadius(), 0.3);
    EXPECT_EQ(r.perDisplaySettings(), expectedMap);
    EXPECT_TRUE(r.hasCompletedOnboarding());
}

TEST_F(AppStateTest, RestoreRulesOnAStoreHoldingOnlyTheMarker) {
    fake.userDefaults.set("sv_isEnabled", true);
    AppState& s = state();
    EXPECT_EQ(fake.userDefaults.setCount, 1u);  // the restore itself stores nothing
    EXPECT_TRUE(s.isEnabled());
    EXPECT_FALSE(s.morningBoostEnabled());  // plain Bools read as false
    EXPECT_FALSE(s.breaksEnabled());
    EXPECT_TRUE(s.fontSmoothingEnabled());  // present-or-true
    EXPECT_TRUE(s.autoDisableByApp());
    EXPECT_TRUE(s.featureCircadianFiltering());
    EXPECT_TRUE(s.dstSmoothingEnabled());
    EXPECT_EQ(s.wakeHour(), 0);  // plain integer
    EXPECT_EQ(s.sleepHour(), 23);  // key-or-default
    EXPECT_EQ(s.manualNightStartHour(), 20);
    EXPECT_EQ(s.manualNightEndHour(), 6);
    EXPECT_EQ(s.weekendWakeHour(), 9);
    EXPECT_EQ(s.movieModeAutoRevertMinutes(), 150);
    EXPECT_EQ(s.dayKelvin(), 6500);  // positive
    EXPECT_EQ(s.breakIntervalMinutes(), 20);  // non-zero
    EXPECT_DOUBLE_EQ(s.softwareDimmerOpacity(), 0.3);
    EXPECT_EQ(s.soundscapeTheme(), "Ocean Waves");
    EXPECT_EQ(s.lastSleepRatingDate(), "");
    EXPECT_EQ(s.lastDailyResetDate(), "2026-01-15");
}

TEST_F(AppStateTest, RestoreRulesAndSaneRangesOnACraftedStore) {
    auto& d = fake.userDefaults;
    d.set("sv_isEnabled", false);
    d.set("sv_currentMode", std::string("auto"));          // wrong case: Auto stays
    d.set("sv_selectedCity", std::string("Atlantis"));     // unknown: New York stays
    d.set("sv_gammaAPI", std::string("Color Overlay"));    // never read
    d.set("sv_screenEffect", std::string("Grayscale"));
    d.set("sv_movieModeRevert", std::int64_t{0});          // 0 stays: never revert
    d.set("sv_dimmerOpacity", 0.0);                        // non-zero: default
    d.set("sv_soundscapeVolume", 0.0);                     // positive: default
    d.set("sv_vignetteRadius", -1.0);
    d.set("sv_spotlightRadius", -1.0);                     // non-zero keeps negatives
    d.set("sv_soundscapeTheme", std::string("Thunder"));   // kept as it is
    // Values that would break the program fall back to their defaults.
    d.set("sv_wakeHour", std::int64_t{30});
    d.set("sv_sleepHour", std::int64_t{-1});
    d.set("sv_breakInterval", std::int64_t{-5});
    d.set("sv_breakPostpone", std::int64_t{1} << 60);
    d.set("sv_dayKelvin", std::int64_t{100000});
    d.set("sv_nightKelvin", std::int64_t{500});
    d.set("sv_pwmProtection", true);
    d.set("sv_dimmerOpacity", 1.0);
    d.set("sv_nightStartMinute", std::int64_t{9000000000000000000});
    d.set("sv_transitionNight", std::int64_t{-2400});
    d.set("sv_vignetteOpacity", 4.0);
    d.set("sv_sleepQualityRating", std::int64_t{9});
    d.set("sv_perDisplaySettings",
          nlohmann::json::array({{{"displayID", 7}, {"displayName", "A"}, {"isEnabled", true},
                                  {"kelvinOverride", 50}, {"brightnessOverride", 0.0}}}));

    AppState& s = state();
    EXPECT_FALSE(s.isEnabled());
    EXPECT_EQ(s.currentMode(), Mode::auto_);
    EXPECT_EQ(s.selectedCity().name, "New York");
    EXPECT_EQ(s.gammaAPI(), AppState::GammaAPI::byTable);
    EXPECT_EQ(s.screenEffect(), AppState::ScreenEffect::grayscale);
    EXPECT_EQ(s.movieModeAutoRevertMinutes(), 0);
    EXPECT_EQ(s.soundscapeVolume(), 0.3);
    EXPECT_EQ(s.vignetteRadius(), 0.6);
    EXPECT_EQ(s.spotlightRadius(), -1.0);
    EXPECT_EQ(s.soundscapeTheme(), "Thunder");
    EXPECT_EQ(s.wakeHour(), 7);
    EXPECT_EQ(s.sleepHour(), 23);
    EXPECT_EQ(s.breakIntervalMinutes(), 20);
    EXPECT_EQ(s.breakPostponeMinutes(), 5);
    EXPECT_EQ(s.dayKelvin(), 6500);
    EXPECT_EQ(s.nightKelvin(), 1800);
    EXPECT_EQ(s.softwareDimmerOpacity(), 0.3);
    EXPECT_EQ(dimmerWindows(), 1u);  // PWM protection reopens the dimmer at launch
    EXPECT_EQ(s.manualNightStartMinute(), 0);
    EXPECT_EQ(s.transitionDurationNight(), 2400);
    EXPECT_EQ(s.vignetteOpacity(), 0.5);
    EXPECT_EQ(s.sleepQualityRating(), 0);
    ASSERT_EQ(s.perDisplaySettings().size(), 1u);
    EXPECT_FALSE(s.perDisplaySettings().at(7).kelvinOverride.has_value());
    EXPECT_FALSE(s.perDisplaySettings().at(7).brightnessOverride.has_value());

    // The restored grey screen's delayed persist fires after the restore and stores everything.
    const auto writes = d.setCount;
    fake.runLoop.advance(3.0);
    EXPECT_GT(d.setCount, writes);
    EXPECT_EQ(d.integerValue("sv_wakeHour"), 7);
}

TEST_F(AppStateTest, RestartOnTheSameDayContinuesTheCounters) {
    auto& d = fake.userDefaults;
    d.set("sv_isEnabled", true);
    d.set("sv_lastDailyResetDate", std::string("2026-01-15"));
    d.set("sv_exposureRecords", nlohmann::json::array({exposureRecord(at(2026, 1, 15, 9), 3600)}));
    d.set("sv_breaksCompleted", std::int64_t{3});
    d.set("sv_breaksSkipped", std::int64_t{1});
    d.set("sv_lightDebtPoints", 35.0);
    d.set("sv_lightDebtDate", std::string("2026-01-15"));
    d.set("sv_lightDebtPeakToday", 40.0);
    d.set("sv_morningSunlightToday", 12.0);
    AppState& s = state();
    EXPECT_DOUBLE_EQ(s.screenTimeToday(), 1.0);
    EXPECT_EQ(s.breakScheduler().breaksCompleted(), 3);
    EXPECT_EQ(s.lightDebtPoints(), 35.0);
    EXPECT_EQ(s.lightDebtLevel(), "high");
    EXPECT_EQ(s.lightDebtPeakToday(), 40.0);
    EXPECT_EQ(s.morningSunlightToday(), 12.0);
    EXPECT_TRUE(s.healthHistory().snapshots().empty());
}

TEST_F(AppStateTest, LaunchOnALaterDayClosesTheStoredDayWithItsRealScreenTime) {
    auto& d = fake.userDefaults;
    d.set("sv_isEnabled", true);
    d.set("sv_lastDailyResetDate", std::string("2026-01-13"));
    d.set("sv_exposureRecords", nlohmann::json::array({exposureRecord(at(2026, 1, 13, 20), 5400),
                                                       exposureRecord(at(2026, 1, 13, 21), 1800)}));
    d.set("sv_breaksCompleted", std::int64_t{6});
    d.set("sv_breaksSkipped", std::int64_t{2});
    d.set("sv_lightDebtPoints", 35.0);
    d.set("sv_lightDebtPeakToday", 40.0);
    d.set("sv_morningSunlightToday", 12.0);
    d.set("sv_sleepQualityRating", std::int64_t{4});
    d.set("sv_lastSleepRatingDate", std::string("2026-01-13"));
    AppState& s = state();

    ASSERT_EQ(s.healthHistory().snapshots().size(), 1u);
    const auto& day = s.healthHistory().snapshots().front();
    EXPECT_EQ(day.date, "2026-01-13");
    EXPECT_DOUBLE_EQ(day.screenTimeHours, 2.0);
    EXPECT_EQ(day.lightDebtPeakPoints, 40.0);
    EXPECT_EQ(day.breaksCompleted, 6);
    EXPECT_EQ(day.breaksSkipped, 2);
    EXPECT_DOUBLE_EQ(day.breakComplianceRatio, 0.75);
    EXPECT_EQ(day.sleepQualityRating, 4);
    EXPECT_EQ(day.circadianScore, 22 + 15 + 15);  // compliance 22.5, level "high", boost off (absent)

    EXPECT_EQ(s.screenTimeToday(), 0.0);
    EXPECT_EQ(s.lightDebtPoints(), 0.0);
    EXPECT_EQ(s.lightDebtLevel(), "low");
    EXPECT_EQ(s.morningSunlightToday(), 0.0);
    EXPECT_EQ(s.sleepQualityRating(), 0);
    EXPECT_EQ(s.lastSleepRatingDate(), "");
    EXPECT_EQ(s.breakScheduler().breaksCompleted(), 0);
    EXPECT_EQ(s.lastDailyResetDate(), "2026-01-15");
}

TEST_F(AppStateTest, DaylightSavingStateComesBackEvenAtOffsetZero) {
    auto& d = fake.userDefaults;
    d.set("sv_isEnabled", true);
    d.set("sv_dstTransitionDate", (fake.runLoop.now() - 86400.0).unixTime());
    d.set("sv_dstDirection", std::int64_t{-1});
    d.set("sv_dstLastOffset", std::int64_t{0});  // London in winter
    EXPECT_TRUE(state().dstSmoother().isSmoothing());

    d.remove("sv_dstLastOffset");
    relaunch();
    EXPECT_FALSE(state().dstSmoother().isSmoothing());
}

TEST_F(AppStateTest, AnUnreadableStoredDocumentIsKeptAside) {
    auto& d = fake.userDefaults;
    const nlohmann::json badHistory = {{"date", "2026-01-14"}};  // an object, not a list
    d.set("sv_isEnabled", true);
    d.set("sv_healthHistory", badHistory);
    d.set("sv_customProfiles", std::string("[{\"name\": "));
    d.set("sv_perDisplaySettings", nlohmann::json::array({{{"displayID", 1}, {"displayName", "A"}}}));
    AppState& s = state();

    EXPECT_TRUE(s.healthHistory().snapshots().empty());
    EXPECT_TRUE(s.perDisplaySettings().empty());
    std::vector<std::string> copies;
    for (const auto& [path, content] : fake.files.contents) {
        if (path.find("/recovered-") != std::string::npos) copies.push_back(path);
    }
    ASSERT_EQ(copies.size(), 3u);
    const auto history = std::find_if(copies.begin(), copies.end(),
                                       [](const std::string& p) { return p.find("sv_healthHistory") != std::string::npos; });
    ASSERT_NE(history, copies.end());
    EXPECT_EQ(nlohmann::json::parse(fake.files.contents.at(*history)), badHistory);
    EXPECT_EQ(fake.files.contents.at(*std::find_if(copies.begin(), copies.end(), [](const std::string& p) {
                  return p.find("sv_customProfiles") != std::string::npos;
              })),
              "[{\"name\": \n");
    EXPECT_TRUE(fake.log.contains("kept a copy at " + *history));
    // With a copy kept, the next persist may store the fresh documents.
    s.healthHistory().recordDay("2026-01-14", 1, 1, 1, 0, 0, std::nullopt, std::nullopt);
    s.persistSettings();
    EXPECT_TRUE(d.jsonValue("sv_healthHistory")->is_array());
}

TEST_F(AppStateTest, AnUnreadableDocumentWithoutACopyIsNeverOverwritten) {
    fake.files.stateDir.reset();
    auto& d = fake.userDefaults;
    const nlohmann::json badHistory = nlohmann::json::array({{{"date", 5}}});
    d.set("sv_isEnabled", true);
    d.set("sv_healthHistory", badHistory);
    AppState& s = state();
    EXPECT_TRUE(fake.log.contains("not saved over"));
    s.healthHistory().recordDay("2026-01-14", 1, 1, 1, 0, 0, std::nullopt, std::nullopt);
    s.persistSettings();
    EXPECT_EQ(d.jsonValue("sv_healthHistory"), badHistory);
    EXPECT_TRUE(d.contains("sv_isEnabled"));
}

}  // namespace
}  // namespace solvara::testing
