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
    ASSERT_EQ(s.importSettings(exportPath), std::nullopt);
    for (const auto& notice : notices) {
        EXPECT_FALSE(document.contains(notice.substr(notice.find(':') + 1))) << notice;
    }
}

TEST_F(AppStateTest, ImportAppliesKnownMembersThroughTheSetters) {
    AppState& s = state();
    const auto before = *s.settingsDocument();
    ASSERT_EQ(s.importSettingsDocument(R"({"dayKelvin": 3000, "selectedCity": "Paris", "weekendWakeHour": 11})"),
              std::nullopt);
    EXPECT_EQ(s.dayKelvin(), 3000);
    EXPECT_EQ(s.circadianEngine().dayKelvin(), 3000);  // through the handler
    EXPECT_EQ(s.selectedCity().name, "New York");
    EXPECT_EQ(s.weekendWakeHour(), 9);
    auto expected = nlohmann::json::parse(before);
    expected["dayKelvin"] = 3000;
    EXPECT_EQ(nlohmann::json::parse(*s.settingsDocument()), expected);
    EXPECT_EQ(fake.userDefaults.integerValue("sv_dayKelvin"), 3000);

    ASSERT_EQ(s.importSettingsDocument(R"({"screenEffect": "Invert", "breakIntervalMinutes": 25.0,
                                            "locationSource": "Manual", "launchAtLoginEnabled": true})"),
              std::nullopt);
    EXPECT_EQ(s.screenEffect(), AppState::ScreenEffect::invert);
    EXPECT_EQ(s.breakIntervalMinutes(), 25);
    EXPECT_TRUE(loginItem.registered);
    ASSERT_TRUE(s.coordinate().has_value());  // the manual source places the user at once
    EXPECT_EQ(s.coordinate()->latitude, 40.7128);
}

TEST_F(AppStateTest, HostileImportsAreRejectedWithNothingChanged) {
    AppState& s = state();
    s.persistSettings();
    const auto before = *s.settingsDocument();
    const auto writes = fake.userDefaults.setCount;
    const std::pair<std::string, std::string> files[] = {
        {R"({"breakIntervalMinutes": "20", "dayKelvin": 3000})", "\"breakIntervalMinutes\""},
        {R"({"dayKelvin": 3000, "breakIntervalMinutes": 0})", "\"breakIntervalMinutes\""},
        {R"({"dayKelvin": 1e30})", "\"dayKelvin\""},
        {R"({"dayKelvin": 100000})", "\"dayKelvin\""},
        {R"({"wakeHour": 9223372036854775807})", "\"wakeHour\""},
        {R"({"softwareDimmerOpacity": 1.0})", "\"softwareDimmerOpacity\""},
        {R"({"spotlightRadius": NaN})", "not a JSON object"},
        {R"({"isEnabled": 1})", "\"isEnabled\""},
        {R"({"screenEffect": "invert"})", "\"screenEffect\""},
        {R"({"manualNightEndMinute": 60})", "\"manualNightEndMinute\""},
        {R"([{"dayKelvin": 3000}])", "not a JSON object"},
        {"dayKelvin = 3000", "not a JSON object"},
    };
    for (const auto& [document, mention] : files) {
        const auto error = s.importSettingsDocument(document);
        ASSERT_TRUE(error.has_value()) << document;
        EXPECT_NE(error->find(mention), std::string::npos) << *error;
    }
    fake.files.contents["/tmp/huge.json"] = "{\"dayKelvin\": 3000" + std::string(2 * 1024 * 1024, ' ') + "}";
    EXPECT_TRUE(s.importSettings("/tmp/huge.json").has_value());
    EXPECT_TRUE(s.importSettings("/tmp/absent.json").has_value());

    EXPECT_EQ(*s.settingsDocument(), before);
    EXPECT_EQ(fake.userDefaults.setCount, writes);
    EXPECT_TRUE(fake.log.contains("Settings import refused"));
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
