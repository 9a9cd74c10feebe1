#include "tests/app/state/AppStateTestSupport.h"

namespace solvara::testing {
namespace {

const std::string exportPath = "/home/user/Solvara-Settings.json";

TEST_F(AppStateTest, ExportOfDefaultsHoldsTheThirtySevenSettingsSorted) {
    AppState& s = state();
    ASSERT_EQ(s.exportSettings(exportPath), std::nullopt);
    const std::string& text = fake.files.contents.at(exportPath);
    const auto document = nlohmann::json::parse(text);
    ASSERT_EQ(document.size(), 37u);
    EXPECT_EQ(document["currentMode"], "Auto");
    EXPECT_EQ(document["gammaAPI"], "By Table");
    EXPECT_EQ(document["breakStartSound"], "Chime");
    EXPECT_EQ(document["softwareDimmerOpacity"], 0.3);
    EXPECT_EQ(document["transitionDurationNight"], 2400);
    EXPECT_EQ(document["launchAtLoginEnabled"], false);
    EXPECT_EQ(text, document.dump(2) + "\n");  // pretty, one key a line, in ascending order

    // Importing it back changes no setting.
    observe();
    const auto result = s.importSettings(exportPath);
    EXPECT_FALSE(result.refusal.has_value());
    EXPECT_TRUE(result.skipped.empty());
    for (const auto& notice : notices) {
        EXPECT_FALSE(document.contains(notice.substr(notice.find(':') + 1))) << notice;
    }
}

TEST_F(AppStateTest, ImportAppliesKnownMembersThroughTheSetters) {
    AppState& s = state();
    const auto before = *s.settingsDocument();
    const auto result =
        s.importSettingsDocument(R"({"dayKelvin": 3000, "selectedCity": "Paris", "weekendWakeHour": 11})");
    ASSERT_FALSE(result.refusal.has_value());
    EXPECT_TRUE(result.skipped.empty());  // members of no setting the file carries are not named
    EXPECT_EQ(s.dayKelvin(), 3000);
    EXPECT_EQ(s.circadianEngine().dayKelvin(), 3000);  // through the handler
    EXPECT_EQ(s.selectedCity().name, "New York");
    EXPECT_EQ(s.weekendWakeHour(), 9);
    auto expected = nlohmann::json::parse(before);
    expected["dayKelvin"] = 3000;
    EXPECT_EQ(nlohmann::json::parse(*s.settingsDocument()), expected);
    EXPECT_EQ(fake.userDefaults.integerValue("sv_dayKelvin"), 3000);

    s.importSettingsDocument(R"({"screenEffect": "Invert", "breakIntervalMinutes": 25.0,
                                 "locationSource": "Manual", "launchAtLoginEnabled": true})");
    EXPECT_EQ(s.screenEffect(), AppState::ScreenEffect::invert);
    EXPECT_EQ(s.breakIntervalMinutes(), 25);
    EXPECT_TRUE(loginItem.registered);
    ASSERT_TRUE(s.coordinate().has_value());  // the manual source places the user at once
    EXPECT_EQ(s.coordinate()->latitude, 40.7128);
}

TEST_F(AppStateTest, APartialImportAppliesTheGoodMembersAndNamesTheOthers) {
    AppState& s = state();
    const auto result = s.importSettingsDocument(R"({
        "dayKelvin": 100000, "sleepHour": 22, "cursorStyle": "Large", "pwmThreshold": 55.5,
        "breakIntervalMinutes": "20", "nightKelvin": 1e30, "customModeKelvin": 0, "wakeHour": 24,
        "manualNightEndMinute": 60, "softwareDimmerOpacity": 1.0, "isEnabled": 1, "screenEffect": "invert",
        "gammaAPI": null})");
    EXPECT_FALSE(result.refusal.has_value());
    EXPECT_EQ(result.skipped, (std::vector<std::string>{"breakIntervalMinutes", "customModeKelvin", "gammaAPI",
                                                        "isEnabled", "manualNightEndMinute", "nightKelvin",
                                                        "screenEffect", "softwareDimmerOpacity", "wakeHour"}));
    EXPECT_EQ(s.dayKelvin(), 100000);
    EXPECT_EQ(s.sleepHour(), 22);
    EXPECT_EQ(s.cursorStyle(), AppState::CursorStyle::large);
    EXPECT_EQ(s.pwmThreshold(), 55.5);
    EXPECT_EQ(fake.userDefaults.integerValue("sv_dayKelvin"), 100000);
    EXPECT_EQ(s.breakIntervalMinutes(), 20);
    EXPECT_EQ(s.nightKelvin(), 1800);
    EXPECT_EQ(s.wakeHour(), 7);
    EXPECT_EQ(s.softwareDimmerOpacity(), 0.3);
    EXPECT_EQ(s.screenEffect(), AppState::ScreenEffect::none);
    EXPECT_TRUE(fake.log.contains("Settings import skipped \"wakeHour\""));
}

TEST_F(AppStateTest, AFileThatIsNoSettingsObjectIsRefusedWhole) {
    AppState& s = state();
    s.persistSettings();
    const auto before = *s.settingsDocument();
    const auto writes = fake.userDefaults.setCount;
    fake.files.contents["/tmp/huge.json"] = "{\"dayKelvin\": 3000" + std::string(2 * 1024 * 1024, ' ') + "}";
    fake.files.contents["/tmp/list.json"] = R"([{"dayKelvin": 3000}])";
    for (const char* path : {"/tmp/huge.json", "/tmp/list.json", "/tmp/absent.json"}) {
        EXPECT_TRUE(s.importSettings(path).refusal.has_value()) << path;
    }
    // Besides what is not JSON: objects in which no member names a setting, among them the
    // program's own store, which must not pass for an import that worked.
    for (const char* document :
         {R"({"dayKelvin": 3000, "spotlightRadius": NaN})", "dayKelvin = 3000", "\"x\"", "{}",
          R"({"sv_dayKelvin": 3000, "sv_isEnabled": false})", R"({"selectedCity": "Paris", "DayKelvin": 3000})"}) {
        const auto result = s.importSettingsDocument(document);
        EXPECT_TRUE(result.refusal.has_value()) << document;
        EXPECT_TRUE(result.skipped.empty()) << document;
    }
    EXPECT_TRUE(fake.log.contains("[AppState] Settings import refused: no setting in this file"));
    EXPECT_EQ(*s.settingsDocument(), before);
    EXPECT_EQ(fake.userDefaults.setCount, writes);
    EXPECT_TRUE(fake.log.contains("Settings import refused"));
}

TEST_F(AppStateTest, AFileIsAppliedOnlyWhenOneOfItsSettingsCanBeUsed) {
    struct Case {
        const char* document;
        const char* refusal;  // a part of the refusal, or none when the file is applied
        std::vector<std::string> skipped;
    };
    const std::vector<Case> cases{
        {R"({"DayKelvin": 3000})", "there is no setting in this file", {}},
        {R"({"isEnabled": "x"})", "none of its settings could be used", {"isEnabled"}},
        {R"({"isEnabled": "x", "dayKelvin": 100, "currentMode": "Sepia", "wakeHour": null, "other": 1})",
         "none of its settings could be used",
         {"currentMode", "dayKelvin", "isEnabled", "wakeHour"}},
        {R"({"isEnabled": "x", "dayKelvin": 3000})", nullptr, {"isEnabled"}},
    };
    for (const Case& c : cases) {
        relaunch();
        AppState& s = state();
        s.persistSettings();
        const auto before = *s.settingsDocument();
        const auto stored = fake.userDefaults.setCount;
        const auto result = s.importSettingsDocument(c.document);
        EXPECT_EQ(result.skipped, c.skipped) << c.document;
        if (c.refusal != nullptr) {
            ASSERT_TRUE(result.refusal.has_value()) << c.document;
            EXPECT_NE(result.refusal->find(c.refusal), std::string::npos) << *result.refusal;
            EXPECT_EQ(*s.settingsDocument(), before) << c.document;
            EXPECT_EQ(fake.userDefaults.setCount, stored) << c.document << ": nothing stored";
        } else {
            EXPECT_FALSE(result.refusal.has_value()) << c.document;
            EXPECT_EQ(s.dayKelvin(), 3000);
            EXPECT_GT(fake.userDefaults.setCount, stored);
        }
    }
    EXPECT_TRUE(fake.log.contains("[AppState] Settings import refused: no setting in this file has a usable value"));
}

TEST_F(AppStateTest, FailedExportIsReported) {
    AppState& s = state();
    fake.files.failAllWrites = true;
    const auto error = s.exportSettings(exportPath);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find(exportPath), std::string::npos);
    EXPECT_FALSE(fake.files.exists(exportPath));
}

TEST_F(AppStateTest, ResetPutsTheSettingsBackButKeepsTheUsersOwnChoices) {
    AppState& s = state();
    s.setLocationSource(AppState::LocationSource::manual);
    s.setSelectedCity(*CityLocation::preset("Oslo"));
    s.setFeaturePerDisplayControl(true);
    s.setSoundscapeVolume(0.8);
    s.setSleepQualityRating(4);
    s.setCurrentMode(AppState::DisplayMode::dark);
    s.setDayKelvin(5000);
    s.setBreaksEnabled(true);
    s.setBreakIntervalMinutes(40);
    s.setGammaAPI(AppState::GammaAPI::byFormula);
    s.adjustKelvin(500);
    s.handleScreenChange();
    ASSERT_FALSE(s.perDisplaySettings().empty());

    s.resetToDefaults();
    EXPECT_EQ(s.currentMode(), AppState::DisplayMode::auto_);
    EXPECT_EQ(s.dayKelvin(), 6500);
    EXPECT_FALSE(s.breaksEnabled());
    EXPECT_EQ(s.breakIntervalMinutes(), 20);
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::Idle>(s.breakScheduler().state()));
    EXPECT_EQ(s.gammaAPI(), AppState::GammaAPI::byTable);
    EXPECT_EQ(s.manualKelvinAdjustment(), 0);
    EXPECT_TRUE(s.perDisplaySettings().empty());
    EXPECT_EQ(s.selectedCity().name, "Oslo");
    EXPECT_EQ(s.locationSource(), AppState::LocationSource::manual);
    EXPECT_TRUE(s.featurePerDisplayControl());
    EXPECT_EQ(s.soundscapeVolume(), 0.8);
    EXPECT_EQ(s.sleepQualityRating(), 4);
    EXPECT_EQ(fake.userDefaults.integerValue("sv_dayKelvin"), 6500);
    EXPECT_EQ(fake.userDefaults.stringValue("sv_currentMode"), "Auto");
}

TEST_F(AppStateTest, ResetOfAFreshStateChangesNoSettingButStillSaves) {
    AppState& s = state();
    observe();
    s.resetToDefaults();
    // The reset values are the construction defaults: only the map (which counts as changed on
    // every write) and the freshly applied kelvin are reported.
    for (const auto& notice : notices) {
        if (notice.rfind("will:", 0) != 0) continue;
        EXPECT_TRUE(notice == "will:appliedKelvin" || notice == "will:perDisplaySettings") << notice;
    }
    EXPECT_TRUE(fake.userDefaults.contains("sv_isEnabled"));  // every handler ran and saved
}

}  // namespace
}  // namespace solvara::testing
