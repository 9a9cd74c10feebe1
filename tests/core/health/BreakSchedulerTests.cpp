#include "core/health/BreakScheduler.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ScopedClock.h"

namespace solvara {
namespace {

using Scheduler = BreakScheduler;
using Property = Scheduler::Property;
using Changes = std::vector<Property>;

const Date t0 = Date(800'000'000.0);

// Every change the scheduler reports, in order.
struct Recorder {
    explicit Recorder(Scheduler& scheduler) {
        scheduler.addObserver([this](Property property) { changes.push_back(property); });
    }
    Changes take() { return std::exchange(changes, {}); }
    Changes changes;
};

Date counting(const Scheduler& s) {
    return std::get<Scheduler::Counting>(s.state()).nextBreakAt;
}

TEST(BreakScheduler, RunsThroughCountingActivePausedAndIdle) {
    testing::ScopedClock clock(t0);
    Scheduler scheduler;
    EXPECT_TRUE(std::holds_alternative<Scheduler::Idle>(scheduler.state()));
    EXPECT_EQ(scheduler.complianceRatio(), 1.0);  // nothing completed or skipped yet
    Recorder recorder(scheduler);

    auto config = scheduler.config();
    config.enabled = false;  // start() does not look at it
    config.lookAwaySeconds = 30;
    scheduler.setConfig(config);
    scheduler.start();
    EXPECT_EQ(counting(scheduler), t0 + 1200.0);

    clock.advance(1200.0);
    scheduler.triggerBreak();
    EXPECT_EQ(std::get<Scheduler::BreakActive>(scheduler.state()).endsAt, t0 + 1230.0);

    clock.advance(30.0);
    scheduler.completeBreak();
    EXPECT_EQ(scheduler.breaksCompleted(), 1);
    EXPECT_EQ(counting(scheduler), t0 + 1230.0 + 1200.0);
    // The postpone count was already 0: only the increment and the new state are reported.
    EXPECT_EQ(recorder.take(), (Changes{Property::config, Property::state, Property::state, Property::breaksCompleted,
                                        Property::state}));

    for (int i = 0; i < 3; ++i) {
        clock.advance(30.0);
        scheduler.postpone(5);
    }
    EXPECT_EQ(scheduler.postponeCount(), 3);
    EXPECT_EQ(counting(scheduler), clock.now() + 300.0);

    recorder.take();
    scheduler.triggerBreak();
    scheduler.skipBreak();
    EXPECT_EQ(scheduler.breaksSkipped(), 1);
    EXPECT_EQ(scheduler.postponeCount(), 0);
    EXPECT_EQ(recorder.take(),
              (Changes{Property::state, Property::breaksSkipped, Property::postponeCount, Property::state}));
    EXPECT_EQ(scheduler.complianceRatio(), 0.5);

    scheduler.pause(Scheduler::PauseReason::userPaused);
    EXPECT_EQ(std::get<Scheduler::Paused>(scheduler.state()).reason, Scheduler::PauseReason::userPaused);
    clock.advance(600.0);
    scheduler.resume();  // a whole new interval, not the rest of the old one
    EXPECT_EQ(counting(scheduler), clock.now() + 1200.0);

    scheduler.postpone(5);
    scheduler.completeBreak();  // no break under way: still counted
    EXPECT_EQ(scheduler.postponeCount(), 0);
    scheduler.completeBreak();
    EXPECT_EQ(scheduler.complianceRatio(), 0.75);

    scheduler.stop();
    EXPECT_TRUE(std::holds_alternative<Scheduler::Idle>(scheduler.state()));
    EXPECT_EQ(scheduler.breaksCompleted(), 3);
    EXPECT_EQ(scheduler.breaksSkipped(), 1);
}

// Counters report real changes only; config and state report every write, equal or not.
TEST(BreakScheduler, RestoreStatsNotifiesOnlyRealChanges) {
    testing::ScopedClock clock(t0);
    Scheduler scheduler;
    scheduler.postpone(10);
    scheduler.restoreStats(4, 1);
    Recorder recorder(scheduler);

    scheduler.restoreStats(4, 1);
    scheduler.setPostponeCount(1);
    EXPECT_TRUE(recorder.take().empty());

    scheduler.restoreStats(0, 2);
    EXPECT_EQ(recorder.take(), (Changes{Property::breaksCompleted, Property::breaksSkipped}));
    EXPECT_EQ(scheduler.complianceRatio(), 0.0);
    EXPECT_EQ(counting(scheduler), t0 + 600.0);  // the state is left alone

    scheduler.setConfig(scheduler.config());
    scheduler.setState(scheduler.state());
    EXPECT_EQ(recorder.take(), (Changes{Property::config, Property::state}));
}

TEST(BreakScheduler, ObserversCanLeaveWhileBeingCalled) {
    Scheduler scheduler;
    int firstCalls = 0, secondCalls = 0;
    Scheduler::ObserverId second = 0;
    scheduler.addObserver([&](Property) {
        ++firstCalls;
        scheduler.removeObserver(second);
    });
    second = scheduler.addObserver([&](Property) { ++secondCalls; });
    scheduler.stop();
    scheduler.stop();
    EXPECT_EQ(firstCalls, 2);
    EXPECT_EQ(secondCalls, 0);
}

TEST(BreakScheduler, PauseReasonRawValues) {
    using Reason = Scheduler::PauseReason;
    std::string texts;
    for (const Reason reason : {Reason::videoCall, Reason::screenRecording, Reason::fullScreenApp, Reason::userPaused,
                                Reason::presentation}) {
        texts += std::string(reason.rawValue()) + ";";
        EXPECT_EQ(Reason::fromRawValue(reason.rawValue()), reason);
    }
    EXPECT_EQ(texts,
              "Video call detected;Screen recording active;Full-screen app active;Paused by user;Presentation mode;");
    EXPECT_FALSE(Reason::fromRawValue("paused by user"));
}

}  // namespace
}  // namespace solvara
