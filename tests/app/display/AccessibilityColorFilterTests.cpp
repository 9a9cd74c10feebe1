#include <gtest/gtest.h>

#include "app/display/AccessibilityColorFilter.h"
#include "platform/fake/FakePlatform.h"

namespace solvara::testing {
namespace {

using LoadResult = ColorFilterPreferences::LoadResult;

TEST(AccessibilityColorFilter, UnavailableFrameworkMakesSaveAndRestoreDoNothing) {
    struct Case {
        LoadResult result;
        const char* line;
    } cases[] = {
        {LoadResult::frameworkMissing,
         "[AccessibilityColorFilter] No accessibility colour filter on this system — nothing to save or restore"},
        {LoadResult::symbolsMissing, "[AccessibilityColorFilter] Failed to resolve symbols"}};
    for (const auto& c : cases) {
        FakePlatform f;
        f.colorFilter.loadResult = c.result;
        AccessibilityColorFilter filter(f.platform());
        EXPECT_TRUE(f.log.contains(c.line));
        const auto lines = f.log.lines.size();
        filter.saveState();
        filter.restoreState();
        EXPECT_FALSE(filter.isLoaded());
        EXPECT_TRUE(f.processes.runs.empty());
        EXPECT_EQ(f.log.lines.size(), lines);
    }
}

TEST(AccessibilityColorFilter, RestoreWritesExactlyTheSavedStateAsArguments) {
    struct Case {
        bool enabled;
        std::int32_t type;
        double hue, intensity;
        std::vector<std::string> values;
    } cases[] = {
        {true, 16, 0.5, 0.8, {"1", "16", "0.5", "0.8"}},
        {false, 4, 0.07, 1.0, {"0", "4", "0.07", "1.0"}},
        {false, 16, 0.1 + 0.2, 0.00001, {"0", "16", "0.30000000000000004", "1e-05"}},
    };
    for (const auto& c : cases) {
        FakePlatform f;
        f.colorFilter.loadResult = LoadResult::loaded;
        f.colorFilter.enabled = c.enabled;
        f.colorFilter.filterType = c.type;
        f.colorFilter.hue = c.hue;
        f.colorFilter.intensity = c.intensity;
        AccessibilityColorFilter filter(f.platform());
        filter.saveState();
        EXPECT_TRUE(f.log.contains("[AccessibilityColorFilter] Loaded successfully"));
        filter.restoreState();
        filter.restoreState();  // forgotten after the first
        ASSERT_EQ(f.processes.runs.size(), 1u);
        const auto& run = f.processes.runs[0];
        EXPECT_EQ(run.executable, "/usr/bin/python3");
        ASSERT_EQ(run.arguments.size(), 6u);
        EXPECT_EQ(run.arguments[0], "-c");
        EXPECT_EQ(run.arguments[1], AccessibilityColorFilter::restoreScript());
        EXPECT_EQ(std::vector<std::string>(run.arguments.begin() + 2, run.arguments.end()), c.values);
        EXPECT_TRUE(f.log.contains(std::string("Restored state (wasEnabled: ") + (c.enabled ? "1" : "0") + ")"));
    }
}

TEST(AccessibilityColorFilter, LogsTheRealOutcomeOfTheInterpreter) {
    struct Case {
        Processes::Completion completion;
        const char* line;
    } cases[] = {
        {{false, "No such file or directory", -1, ""}, "Failed to run subprocess: No such file or directory"},
        {{true, "", 1, "OSError: boom"}, "Python exit 1: OSError: boom"},
        {{true, "", 2, std::string("\xff\xfe", 2)}, "Python exit 2: unknown"},
    };
    for (const auto& c : cases) {
        FakePlatform f;
        f.colorFilter.loadResult = LoadResult::loaded;
        f.colorFilter.enabled = true;
        f.processes.completion = c.completion;
        AccessibilityColorFilter filter(f.platform());
        filter.saveState();
        EXPECT_TRUE(f.log.contains("Saved — enabled: 1, type: 16, hue: 0.000, intensity: 0.000"));
        filter.restoreState();
        EXPECT_TRUE(f.log.contains(c.line));
        EXPECT_FALSE(f.log.contains("Restored state"));
    }
}

TEST(AccessibilityColorFilter, WaitsForARestoreStillRunning) {
    FakePlatform f;
    f.runLoop.runsBackgroundInline = false;
    f.colorFilter.loadResult = LoadResult::loaded;
    AccessibilityColorFilter filter(f.platform());
    EXPECT_TRUE(filter.waitForPendingRestore(0));
    filter.saveState();
    filter.restoreState();
    EXPECT_FALSE(filter.waitForPendingRestore(0.01));
    f.runLoop.runBackgroundWork();
    EXPECT_TRUE(filter.waitForPendingRestore(0));
}

}  // namespace
}  // namespace solvara::testing
