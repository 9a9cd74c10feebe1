#include <gtest/gtest.h>

#include "DisplayTestSupport.h"
#include "app/display/NightLightControlFile.h"

namespace solvara::testing {
namespace {

class NightShiftTest : public DisplayTest {
protected:
    NightShiftManager& ns() { return manager().nightShiftManager(); }
};

TEST_F(NightShiftTest, AnswersTheKelvinBelow2700And6500OtherwiseAfterWritingIt) {
    struct Case {
        std::int64_t kelvin, answer;
    } cases[] = {{2699, 2699}, {2700, 6500}, {1800, 1800}, {6500, 6500}, {3400, 6500}};
    for (const auto& c : cases) {
        EXPECT_EQ(ns().applyColorTemperature(c.kelvin), c.answer);
        EXPECT_EQ(fake.files.contents.at(controlPath), std::to_string(c.kelvin));
    }
}

TEST_F(NightShiftTest, StartsTheHelperOnceAfterTheFileIsWrittenAndEndingWithUs) {
    ns().applyColorTemperature(3000);
    ns().applyColorTemperature(3100);
    ASSERT_EQ(fake.processes.launched.size(), 1u);
    const auto& helper = *fake.processes.launched[0];
    EXPECT_EQ(helper.executable, helperPath);
    EXPECT_TRUE(helper.arguments.empty());
    EXPECT_TRUE(helper.options.endWithParent);
    EXPECT_LT(fake.events.indexOf("write " + std::string(controlPath) + " 3000"),
              fake.events.indexOf("launch " + std::string(helperPath)));
    EXPECT_TRUE(fake.log.contains("[NightShiftManager] Helper found at: /usr/libexec/solvara/ns_helper"));
    EXPECT_TRUE(fake.log.contains("[NightShiftManager] Helper started (PID 4242)"));

    fake.processes.launched[0]->running = false;  // the helper died
    ns().applyColorTemperature(3200);
    EXPECT_EQ(fake.processes.launched.size(), 2u);
}

TEST_F(NightShiftTest, WithoutTheHelperItIsUnavailableAndWritesNothing) {
    fake.files.resources.clear();
    EXPECT_FALSE(ns().isAvailable());
    EXPECT_EQ(ns().applyColorTemperature(2500), 2500);
    EXPECT_TRUE(fake.files.contents.empty());
    EXPECT_TRUE(fake.processes.launched.empty());
    EXPECT_TRUE(fake.log.contains("[NightShiftManager] Helper not found — Night Shift unavailable"));
    EXPECT_FALSE(ns().savedState());
}

TEST_F(NightShiftTest, StopHelperWritesZeroTerminatesAndDeletesOnlyItsOwnFile) {
    ns().applyColorTemperature(3000);
    fake.events.clear();
    ns().stopHelper();
    EXPECT_EQ(fake.events.events, (std::vector<std::string>{"write " + std::string(controlPath) + " 0",
                                                            "terminate 4242", "remove " + std::string(controlPath)}));
    EXPECT_TRUE(fake.log.contains("[NightShiftManager] Helper stopped"));

    // Another instance's file: never ours, never touched.
    fake.files.contents[controlPath] = "4100";
    const auto writes = fake.files.writeCount;
    const auto removes = fake.files.removeCount;
    ns().stopHelper();
    manager().resetToDefault();
    EXPECT_EQ(fake.files.writeCount, writes);
    EXPECT_EQ(fake.files.removeCount, removes);
    EXPECT_EQ(fake.files.contents.at(controlPath), "4100");
}

TEST_F(NightShiftTest, SavedStateIsKeptOnDiskUntilACleanRestore) {
    fake.nightLight.currentStrength = 0.25f;
    fake.nightLight.enabled = true;
    fake.nightLight.temperature = 3700;
    ns();
    ASSERT_TRUE(fake.files.exists(savedStatePath));
    EXPECT_TRUE(fake.log.contains("[NightShiftManager] Saved state — strength: 0.250000"));

    // The helper drives the night light, then we restore.
    ns().applyColorTemperature(2000);
    fake.nightLight.showTemperature(2000);
    ns().restoreState();
    EXPECT_TRUE(fake.nightLight.enabled);
    EXPECT_EQ(fake.nightLight.temperature, 3700);
    EXPECT_TRUE(fake.nightLight.followsSchedule);
    EXPECT_FALSE(fake.files.exists(savedStatePath));
    EXPECT_FALSE(fake.files.exists(controlPath));
    EXPECT_TRUE(fake.log.contains("[NightShiftManager] Restored state — strength: 0.250000"));

    // A second restore only stops the helper.
    fake.nightLight.calls.clear();
    ns().restoreState();
    EXPECT_TRUE(fake.nightLight.calls.empty());
}

TEST_F(NightShiftTest, ACrashedRunsSavedStateWinsOverOurLeftover) {
    NightShiftManager::NightShiftState users{true, 0.2f, 0, "fake:1 200 4000 1"};
    fake.files.contents[savedStatePath] = *users.encode();
    fake.nightLight.currentStrength = 0.9f;  // what the crashed run left behind
    fake.nightLight.temperature = 1900;
    ASSERT_TRUE(ns().savedState());
    EXPECT_EQ(*ns().savedState(), users);
    EXPECT_TRUE(fake.log.contains("[NightShiftManager] Saved state — strength: 0.200000"));

    fake.nightLight.refuseWrites = true;
    ns().restoreState();
    EXPECT_TRUE(fake.files.exists(savedStatePath));  // not clean: kept for the next start
    EXPECT_TRUE(fake.log.contains("did not go through"));

    fake.files.contents[savedStatePath] = "{\"wasEnabled\":true}";
    NightShiftManager fresh(fake.platform());
    EXPECT_TRUE(fake.log.contains("Ignoring an unreadable saved state"));
    EXPECT_FLOAT_EQ(fresh.savedState()->strength, 0.9f);
}

TEST_F(NightShiftTest, RestoreWithoutACaptureSetsStrengthThenSwitch) {
    struct Case {
        float strength;
        std::vector<std::string> calls;
    } cases[] = {{0.0f, {"setStrength 0.000 commit", "setEnabled 0"}},
                 {0.6f, {"setStrength 0.600 commit", "setEnabled 1"}}};
    for (const auto& c : cases) {
        FakePlatform f;
        f.files.resources["ns_helper"] = helperPath;
        f.nightLight.capturable = false;
        f.nightLight.currentStrength = c.strength;
        NightShiftManager m(f.platform());
        EXPECT_EQ(m.savedState()->wasEnabled, c.strength > 0);
        m.restoreState();
        EXPECT_EQ(f.nightLight.calls, c.calls);
        m.restoreState();
        EXPECT_EQ(f.nightLight.calls, c.calls);
    }
}

TEST_F(NightShiftTest, ControlFileTextIsStrict) {
    EXPECT_EQ(NightLightControlFile::encode(3400), "3400");
    EXPECT_EQ(NightLightControlFile::encode(0), "0");
    struct Case {
        const char* text;
        std::optional<std::int64_t> value;
    } cases[] = {
        {"3400", 3400},  {"0", 0},          {"999999", 999999}, {"", std::nullopt},    {"03400", std::nullopt},
        {"00", std::nullopt}, {"+3400", std::nullopt}, {"-5", std::nullopt},  {"3400\n", std::nullopt},
        {" 3400", std::nullopt}, {"34a0", std::nullopt}, {"1000000", std::nullopt}, {"3.5", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(NightLightControlFile::parse(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace solvara::testing
