#include <gtest/gtest.h>

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
    // Input of every kind at the current virtual time.
    void touchAll() {
        for (InputEventKind kind : {InputEventKind::mouseMoved, InputEventKind::keyDown, InputEventKind::leftMouseDown}) {
            fake.workspace.recordInput(kind, fake.runLoop.now());
        }
    }

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
    EXPECT_EQ(inactive, 0) << "start() runs no check at once";

    struct Step {
        double idle;
        int inactive;
        int resumed;
    };
    // One check every 30 s, threshold 900 s.
    for (const Step& step : std::vector<Step>{{899, 0, 0}, {905, 1, 0}, {935, 1, 0}, {2000, 1, 0}, {3, 1, 1}, {33, 1, 1}, {950, 2, 1}}) {
        fake.workspace.setIdle(step.idle);
        fake.runLoop.advance(30);
        EXPECT_EQ(inactive, step.inactive) << step.idle;
        EXPECT_EQ(resumed, step.resumed) << step.idle;
    }

    // Any one kind of input counts: moving the mouse alone keeps the user active.
    fake.workspace.idleSeconds[InputEventKind::mouseMoved] = 2;
    fake.runLoop.advance(30);
    EXPECT_EQ(resumed, 2);

    // stop() forgets the inactive side without a resume; later checks are gone.
    fake.workspace.setIdle(5000);
    fake.runLoop.advance(30);
    EXPECT_TRUE(detector.wasInactive);
    detector.stop();
    EXPECT_FALSE(detector.wasInactive);
    fake.runLoop.advance(300);
    EXPECT_EQ(inactive, 3);
    EXPECT_EQ(resumed, 2);
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
}

TEST_F(ActivityDetectorsTest, InactivityNeverGuessesWithoutInput) {
    InactivityDetector detector(fake.workspace, fake.runLoop);
    int calls = 0;
    detector.onInactive = [&] { ++calls; };
    detector.start();
    detector.start();  // restart keeps one timer
    EXPECT_EQ(fake.runLoop.repeatingCount(), 1u);
    fake.workspace.idleAvailable = false;
    fake.runLoop.advance(3600);
    EXPECT_EQ(calls, 0);
}

TEST_F(ActivityDetectorsTest, FlowAfterFortyFiveMinutesOfWorkEndsOnAThreeMinuteGap) {
    FlowDetector detector(fake.workspace, fake.runLoop);
    std::vector<std::pair<double, bool>> reports;  // minutes since the first input, flag
    const Date firstInput = fake.runLoop.now() + 5;
    detector.onFlowStateChanged = [&](bool flow) { reports.emplace_back((fake.runLoop.now() - firstInput) / 60, flow); };
    fake.workspace.setIdle(1000);
    detector.start();

    // Typing every 90 s (gaps under 2 minutes) from second 5 on: the stretch dates from the
    // first key press, whatever the mouse does.
    fake.runLoop.advance(5);
    for (int i = 0; i < 40; ++i) {
        fake.workspace.recordInput(InputEventKind::keyDown, fake.runLoop.now());
        fake.runLoop.advance(90);
    }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].second);
    EXPECT_GE(reports[0].first, 45.0);
    EXPECT_LT(reports[0].first, 45.0 + 10.0 / 60);  // noticed at the first 10-second check after
    EXPECT_TRUE(detector.isInFlowState);

    // A 3-minute pause ends it; the next stretch counts from zero.
    fake.runLoop.advance(180);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_FALSE(reports[1].second);
    EXPECT_FALSE(detector.activityStartTime.has_value());
    fake.workspace.recordInput(InputEventKind::leftMouseDown, fake.runLoop.now());
    fake.runLoop.advance(10);
    ASSERT_TRUE(detector.activityStartTime.has_value());
    EXPECT_LE(fake.runLoop.now() - *detector.activityStartTime, 10.0);
}

TEST_F(ActivityDetectorsTest, MouseMovementAloneIsNoWork) {
    FlowDetector detector(fake.workspace, fake.runLoop);
    int reports = 0;
    detector.onFlowStateChanged = [&](bool) { ++reports; };
    detector.start();
    touchAll();
    fake.runLoop.advance(10);
    EXPECT_TRUE(detector.activityStartTime.has_value());
    // Only the mouse moves from now on: after 120 s without keys or clicks the stretch ends.
    for (int i = 0; i < 13; ++i) {
        fake.workspace.recordInput(InputEventKind::mouseMoved, fake.runLoop.now());
        fake.runLoop.advance(10);
    }
    EXPECT_FALSE(detector.activityStartTime.has_value());
    EXPECT_EQ(reports, 0);
}

TEST_F(ActivityDetectorsTest, FlowStopAndUnwatchableInput) {
    FlowDetector detector(fake.workspace, fake.runLoop);
    std::vector<bool> reports;
    detector.onFlowStateChanged = [&](bool flow) { reports.push_back(flow); };
    detector.flowThresholdMinutes = 1;
    fake.workspace.setIdle(0);
    detector.start();
    fake.runLoop.advance(70);
    EXPECT_EQ(reports, std::vector<bool>{true});

    // Input that cannot be watched is a gap: flow ends rather than holding breaks back forever.
    fake.workspace.idleAvailable = false;
    fake.runLoop.advance(10);
    EXPECT_EQ(reports, (std::vector<bool>{true, false}));

    fake.workspace.idleAvailable = true;
    fake.runLoop.advance(80);
    EXPECT_EQ(reports, (std::vector<bool>{true, false, true}));
    detector.stop();  // leaves flow silently
    EXPECT_FALSE(detector.isInFlowState);
    EXPECT_FALSE(detector.activityStartTime.has_value());
    EXPECT_EQ(reports.size(), 3u);
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
}

TEST_F(ActivityDetectorsTest, FullScreenNeedsAFrontmostApplication) {
    SmartPauseDetector detector(fake.workspace);
    struct Case {
        bool hasFrontmost;
        bool fullScreen;
        bool expected;
    };
    for (const Case& c : std::vector<Case>{{false, false, false}, {false, true, false}, {true, false, false}, {true, true, true}}) {
        fake.workspace.frontmost = c.hasFrontmost ? std::optional<RunningApplication>(RunningApplication{"mpv", "mpv"})
                                                  : std::nullopt;
        fake.workspace.activeWindowFullScreen = c.fullScreen;
        EXPECT_EQ(detector.isFrontmostAppFullScreen(), c.expected) << c.hasFrontmost << c.fullScreen;
    }
}

TEST_F(ActivityDetectorsTest, EasterEggNamesAreExact) {
    EXPECT_EQ(EasterEggManager::easterEggFromRawValue("disco"), EasterEggManager::EasterEgg::disco);
    EXPECT_EQ(EasterEggManager::easterEggFromRawValue("sunset"), EasterEggManager::EasterEgg::sunset);
    EXPECT_EQ(EasterEggManager::easterEggFromRawValue("Disco"), std::nullopt);
    EXPECT_EQ(EasterEggManager::easterEggFromRawValue(""), std::nullopt);
}

}  // namespace
}  // namespace solvara
