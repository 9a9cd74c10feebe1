#include <algorithm>
#include <cmath>

#include "tests/app/state/AppStateTestSupport.h"

namespace solvara::testing {
namespace {

using Mode = AppState::DisplayMode;

nlohmann::json exposureRecord(Date when, double seconds) {
    return {{"timestamp", when.secondsSinceReferenceDate}, {"colorTemperature", 3000}, {"melanopicEDI", 20.0},
            {"durationSeconds", seconds}, {"isPostDLMO", true}};
}

// A stored value as the typed getter that answers for it reads it: 7 for an integer, 7.0 for a
// double, {"json": ...} for a document. The launch reads each key back with its own getter.
nlohmann::json storedForm(const UserDefaults& d, const std::string& key) {
    if (auto v = d.boolValue(key)) return *v;
    if (auto v = d.integerValue(key)) return *v;
    if (auto v = d.realValue(key)) return *v;
    if (auto v = d.stringValue(key)) return *v;
    if (auto v = d.jsonValue(key)) return {{"json", *v}};
    return "unreadable";
}

TEST_F(AppStateTest, FirstLaunchKeepsTheDefaultsAndTheFirstPersistStoresEveryKeyInItsForm) {
    AppState& s = state();  // an empty store: the restore rules do not run
    EXPECT_EQ(fake.userDefaults.setCount, 0u);
    EXPECT_FALSE(s.currentState().has_value());
    EXPECT_FALSE(s.coordinate().has_value());
    EXPECT_EQ(s.lightDebtLevel(), "low");
    EXPECT_EQ(s.lightDebtRecommendation(), "Great job! Keep it up.");
    EXPECT_FALSE(s.launchAtLoginEnabled());
    auto& engine = s.circadianEngine();
    EXPECT_EQ(engine.wakeTime(), (CircadianEngine::TimeOfDay{7, 0}));
    EXPECT_EQ(engine.sleepTime(), (CircadianEngine::TimeOfDay{23, 0}));
    EXPECT_TRUE(engine.morningBoostEnabled());
    EXPECT_EQ(engine.dayKelvin(), 6500);
    EXPECT_EQ(engine.nightKelvin(), 1800);

    s.persistSettings();
    // Every key but sv_customProfiles, written only with profiles of the user's own.
    const auto expected = nlohmann::json::parse(R"({
        "sv_isEnabled": true, "sv_currentMode": "Auto", "sv_morningBoost": true, "sv_pwmProtection": false,
        "sv_dimmerOpacity": 0.3, "sv_pwmThreshold": 40.0, "sv_wakeHour": 7, "sv_wakeMinute": 0,
        "sv_sleepHour": 23, "sv_sleepMinute": 0, "sv_breaksEnabled": false, "sv_breakInterval": 20,
        "sv_breakPostpone": 5, "sv_locationSource": "Automatic", "sv_selectedCity": "New York",
        "sv_dayKelvin": 6500, "sv_nightKelvin": 1800, "sv_customModeKelvin": 4000, "sv_customModeDimLevel": 0.0,
        "sv_inactivityPause": false, "sv_inactivityThreshold": 15, "sv_screenEffect": "None",
        "sv_transitionDay": 1200, "sv_transitionNight": 2400, "sv_manualNight": false, "sv_nightStartHour": 20,
        "sv_nightStartMinute": 0, "sv_nightEndHour": 6, "sv_nightEndMinute": 0, "sv_gammaAPI": "By Table",
        "sv_breakStartSound": "Chime", "sv_breakEndSound": "Bell", "sv_breakScreenType": "Simple Text",
        "sv_fontSmoothing": true, "sv_spotlight": false, "sv_spotlightRadius": 200.0, "sv_spotlightOpacity": 0.7,
        "sv_softwareCursor": false, "sv_cursorStyle": "Default", "sv_blockKeyboard": false, "sv_hideDock": false,
        "sv_perDisplaySettings": {"json": []}, "sv_autoDisableByApp": true, "sv_autoDarkMode": true,
        "sv_sleepAlarm": true, "sv_autoDisableFullscreen": true, "sv_movieModeRevert": 150,
        "sv_weekendSchedule": false, "sv_weekendWakeHour": 9, "sv_weekendSleepHour": 0,
        "sv_sleepQualityRating": 0, "sv_lastSleepRatingDate": "", "sv_transitionSounds": true,
        "sv_ft_circadian": true, "sv_ft_breaks": false, "sv_ft_morningBoost": true, "sv_ft_perDisplay": false,
        "sv_ft_inactivity": false, "sv_ft_spotlight": false, "sv_ft_cursor": false, "sv_ft_soundscapes": false,
        "sv_soundscapeVolume": 0.3, "sv_soundscapeTheme": "Ocean Waves", "sv_hasCompletedOnboarding": false,
        "sv_exposureRecords": {"json": []}, "sv_breaksCompleted": 0, "sv_breaksSkipped": 0,
        "sv_lightDebtPoints": 0.0, "sv_lightDebtDate": "", "sv_morningSunlightToday": 0.0,
        "sv_lastDailyResetDate": "", "sv_lightDebtPeakToday": 0.0, "sv_healthHistory": {"json": []},
        "sv_vignetteEnabled": false, "sv_vignetteRadius": 0.6, "sv_vignetteOpacity": 0.5,
        "sv_ambientLight": false, "sv_flowDetection": true, "sv_dstSmoothing": true,
        "sv_dstTransitionDate": 0.0, "sv_dstDirection": 0, "sv_dstLastOffset": 0})");
    ASSERT_EQ(expected.size(), 82u);
    nlohmann::json stored = nlohmann::json::object();
    for (const auto& [key, value] : fake.userDefaults.values) stored[key] = storedForm(fake.userDefaults, key);
    EXPECT_EQ(stored.dump(1), expected.dump(1));  // the text tells 40 from 40.0

    s.profileManager().addProfile(
        ActivityProfile("Mine", {"org.example.app"}, ActivityProfile::Behavior::coding, false));
    s.persistSettings();
    EXPECT_EQ(fake.userDefaults.values.size(), 83u);
    EXPECT_TRUE(fake.userDefaults.contains("sv_customProfiles"));
    s.profileManager().restoreCustomProfiles("[]");  // without profiles of the user's own the key goes
    s.persistSettings();
    EXPECT_FALSE(fake.userDefaults.contains("sv_customProfiles"));
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
    d.set("sv_dayKelvin", std::int64_t{10000000});
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
    std::map<std::string, std::string> copies;  // key -> path
    for (const auto& [path, content] : fake.files.contents) {
        for (const char* key : {"sv_healthHistory", "sv_customProfiles", "sv_perDisplaySettings"}) {
            if (path.find(std::string("/recovered-") + key) != std::string::npos) copies[key] = path;
        }
    }
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_NE(copies["sv_healthHistory"].find("recovered-sv_healthHistory-20260115-120000.json"), std::string::npos)
        << copies["sv_healthHistory"];
    EXPECT_EQ(nlohmann::json::parse(fake.files.contents.at(copies["sv_healthHistory"])), badHistory);
    EXPECT_EQ(fake.files.contents.at(copies["sv_customProfiles"]), "[{\"name\": \n");
    EXPECT_TRUE(fake.log.contains("kept a copy at " + copies["sv_healthHistory"]));
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
