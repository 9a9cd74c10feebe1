#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "app/shell/EasterEggManager.h"
#include "app/shell/FlowDetector.h"
#include "app/shell/InactivityDetector.h"
#include "app/shell/SmartPauseDetector.h"
#include "platform/fake/FakePlatform.h"

namespace solvara {
namespace {

class ActivityDetectorsTest : public ::testing::Test {
protected:
    void input(InputEventKind kind) { fake.workspace.recordInput(kind, fake.runLoop.now()); }

    FakePlatform fake;
};

TEST_F(ActivityDetectorsTest, InactivityIsReportedOnceEachWay) {
    InactivityDetector detector(fake.workspace, fake.runLoop);
    int inactive = 0;
    int resumed = 0;
    detector.onInactive = [&] { ++inactive; };
    detector.onResume = [&] { ++resumed; };
    fake.workspace.setIdle(5000);
    detector.start();
    detector.start();  // a restart keeps one timer and checks nothing at once
    EXPECT_EQ(fake.runLoop.repeatingCount(), 1u);
    EXPECT_EQ(inactive, 0);

    // One check every 30 s, threshold 900 s: idle time at the check, reports so far.
    const std::vector<std::tuple<double, int, int>> steps{{899, 0, 0}, {905, 1, 0}, {935, 1, 0}, {2000, 1, 0},
                                                          {3, 1, 1},   {33, 1, 1},  {950, 2, 1}};
    for (const auto& [idle, inactiveCount, resumedCount] : steps) {
        fake.workspace.setIdle(idle);
        fake.runLoop.advance(30);
        EXPECT_EQ(inactive, inactiveCount) << idle;
        EXPECT_EQ(resumed, resumedCount) << idle;
    }
    // Any one kind of input counts: moving the mouse alone brings the user back.
    fake.workspace.idleSeconds[InputEventKind::mouseMoved] = 2;
    fake.runLoop.advance(30);
    EXPECT_EQ(resumed, 2);

    // Input that cannot be watched never counts as idle.
    fake.workspace.idleAvailable = false;
    fake.runLoop.advance(3600);
    EXPECT_EQ(inactive, 2);

    // stop() forgets the inactive side without a resume; no check runs after it.
    fake.workspace.idleAvailable = true;
    fake.workspace.setIdle(5000);
    fake.runLoop.advance(30);
    detector.stop();
    EXPECT_FALSE(detector.wasInactive);
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
    EXPECT_EQ(resumed, 2);
}

TEST_F(ActivityDetectorsTest, FlowAfterFortyFiveMinutesOfWorkEndsOnAThreeMinuteGap) {
    FlowDetector detector(fake.workspace, fake.runLoop);
    std::vector<std::pair<double, bool>> reports;  // minutes since the first input, flag
    const Date firstInput = fake.runLoop.now() + 5;
    detector.onFlowStateChanged = [&](bool flow) {
        reports.emplace_back((fake.runLoop.now() - firstInput) / 60, flow);
    };
    fake.workspace.setIdle(1000);
    detector.start();

    // Typing every 90 s (gaps under 2 minutes) from second 5 on: the stretch dates from the
    // first key press.
    fake.runLoop.advance(5);
    for (int i = 0; i < 40; ++i) {
        input(InputEventKind::keyDown);
        fake.runLoop.advance(90);
    }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].second);
    EXPECT_GE(reports[0].first, 45.0);
    EXPECT_LT(reports[0].first, 45.0 + 10.0 / 60);  // noticed at the first 10-second check after

    // A 3-minute pause ends it; the next stretch counts from zero.
    fake.runLoop.advance(180);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_FALSE(reports[1].second);
    EXPECT_FALSE(detector.activityStartTime.has_value());
    const Date click = fake.runLoop.now();
    input(InputEventKind::leftMouseDown);
    fake.runLoop.advance(10);
    ASSERT_TRUE(detector.activityStartTime.has_value());
    EXPECT_NEAR(*detector.activityStartTime - click, 0.0, 1e-3);  // dated from the click, not the check

    // Mouse movement alone is no work: 120 s without keys or clicks end the stretch.
    for (int i = 0; i < 12; ++i) {
        input(InputEventKind::mouseMoved);
        fake.runLoop.advance(10);
    }
    EXPECT_FALSE(detector.activityStartTime.has_value());
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(ActivityDetectorsTest, FlowEndsOnUnwatchableInputAndStopsSilently) {
    FlowDetector detector(fake.workspace, fake.runLoop);
    std::vector<bool> reports;
    detector.onFlowStateChanged = [&](bool flow) { reports.push_back(flow); };
    detector.flowThresholdMinutes = 1;
    fake.workspace.setIdle(0);
    detector.start();
    fake.runLoop.advance(70);
    fake.workspace.idleAvailable = false;  // a gap: no unseen flow may hold breaks back
    fake.runLoop.advance(10);
    fake.workspace.idleAvailable = true;
    fake.runLoop.advance(80);
    detector.stop();
    EXPECT_EQ(reports, (std::vector<bool>{true, false, true}));  // nothing more from stop()
    EXPECT_FALSE(detector.isInFlowState);
    EXPECT_FALSE(detector.activityStartTime.has_value());
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
}

TEST_F(ActivityDetectorsTest, FullScreenNeedsAFrontmostApplicationAndEasterEggsExactNames) {
    SmartPauseDetector detector(fake.workspace);
    const std::vector<std::pair<bool, bool>> cases{{false, true}, {true, false}, {true, true}};
    for (const auto& [frontmost, fullScreen] : cases) {
        fake.workspace.frontmost = frontmost ? std::optional(RunningApplication{"mpv", "mpv"}) : std::nullopt;
        fake.workspace.activeWindowFullScreen = fullScreen;
        EXPECT_EQ(detector.isFrontmostAppFullScreen(), frontmost && fullScreen) << frontmost << fullScreen;
    }

    EXPECT_EQ(EasterEggManager::easterEggFromRawValue("disco"), EasterEggManager::EasterEgg::disco);
    EXPECT_EQ(EasterEggManager::easterEggFromRawValue("Disco"), std::nullopt);
}

}  // namespace
}  // namespace solvara
