#include "core/health/BreakScheduler.h"

#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ScopedClock.h"

namespace solvara {
namespace {

using Scheduler = BreakScheduler;
using Property = Scheduler::Property;

const Date t0 = Date(800'000'000.0);

// Every change the scheduler reports, in order.
struct Recorder {
    explicit Recorder(Scheduler& scheduler) {
        scheduler.addObserver([this](Property property) { changes.push_back(property); });
    }
    std::vector<Property> take() { return std::exchange(changes, {}); }
    std::vector<Property> changes;
};

Date counting(const Scheduler& s) {
    return std::get<Scheduler::Counting>(s.state()).nextBreakAt;
}
Date breakEnd(const Scheduler& s) {
    return std::get<Scheduler::BreakActive>(s.state()).endsAt;
}

TEST(BreakScheduler, StartsIdleWithFullCompliance) {
    Scheduler scheduler;
    EXPECT_TRUE(std::holds_alternative<Scheduler::Idle>(scheduler.state()));
    EXPECT_EQ(scheduler.breaksCompleted(), 0);
    EXPECT_EQ(scheduler.breaksSkipped(), 0);
    EXPECT_EQ(scheduler.postponeCount(), 0);
    EXPECT_EQ(scheduler.complianceRatio(), 1.0);
    EXPECT_EQ(scheduler.config(), (Scheduler::BreakConfig{20, 20, 20, true}));
}

TEST(BreakScheduler, RunsThroughCountingActivePausedAndIdle) {
    testing::ScopedClock clock(t0);
    Scheduler scheduler;
    Recorder recorder(scheduler);

    auto config = scheduler.config();
    config.enabled = false;  // start() does not look at it
    scheduler.setConfig(config);
    scheduler.start();
    EXPECT_EQ(counting(scheduler), t0 + 1200.0);

    clock.advance(1200.0);
    scheduler.triggerBreak();
    EXPECT_EQ(breakEnd(scheduler), t0 + 1220.0);

    clock.advance(20.0);
    scheduler.completeBreak();
    EXPECT_EQ(scheduler.breaksCompleted(), 1);
    EXPECT_EQ(counting(scheduler), t0 + 1220.0 + 1200.0);
    // The postpone count was already 0: only the increment and the new state are reported.
    EXPECT_EQ(recorder.take(), (std::vector<Property>{Property::config, Property::state, Property::state,
                                                      Property::breaksCompleted, Property::state}));

    clock.advance(100.0);
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
    EXPECT_EQ(recorder.take(), (std::vector<Property>{Property::state, Property::breaksSkipped, Property::postponeCount,
                                                      Property::state}));
    EXPECT_EQ(scheduler.complianceRatio(), 0.5);

    scheduler.pause(Scheduler::PauseReason::userPaused);
    ASSERT_TRUE(std::holds_alternative<Scheduler::Paused>(scheduler.state()));
    EXPECT_EQ(std::get<Scheduler::Paused>(scheduler.state()).reason, Scheduler::PauseReason::userPaused);
    clock.advance(600.0);
    scheduler.resume();  // a whole new interval, not the rest of the old one
    EXPECT_EQ(counting(scheduler), clock.now() + 1200.0);

    scheduler.completeBreak();  // no break under way: still counted
    scheduler.completeBreak();
    EXPECT_EQ(scheduler.breaksCompleted(), 3);
    EXPECT_EQ(scheduler.complianceRatio(), 0.75);

    scheduler.stop();
    EXPECT_TRUE(std::holds_alternative<Scheduler::Idle>(scheduler.state()));
    EXPECT_EQ(scheduler.breaksCompleted(), 3);
    EXPECT_EQ(scheduler.breaksSkipped(), 1);
}

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
    EXPECT_EQ(recorder.take(), (std::vector<Property>{Property::breaksCompleted, Property::breaksSkipped}));
    EXPECT_EQ(scheduler.complianceRatio(), 0.0);
    EXPECT_EQ(scheduler.postponeCount(), 1);
    EXPECT_EQ(counting(scheduler), t0 + 600.0);

    // Config and state report every write, equal or not.
    scheduler.setConfig(scheduler.config());
    scheduler.setState(scheduler.state());
    EXPECT_EQ(recorder.take(), (std::vector<Property>{Property::config, Property::state}));
}

TEST(BreakScheduler, ObserversCanLeaveWhileBeingCalled) {
    Scheduler scheduler;
    int firstCalls = 0;
    int secondCalls = 0;
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
    const std::pair<Reason, const char*> cases[] = {
        {Reason::videoCall, "Video call detected"},        {Reason::screenRecording, "Screen recording active"},
        {Reason::fullScreenApp, "Full-screen app active"}, {Reason::userPaused, "Paused by user"},
        {Reason::presentation, "Presentation mode"},
    };
    for (const auto& [reason, text] : cases) {
        EXPECT_EQ(reason.rawValue(), text);
        EXPECT_EQ(Reason::fromRawValue(text), reason);
    }
    EXPECT_FALSE(Reason::fromRawValue("paused by user"));
    EXPECT_FALSE(Reason::fromRawValue("Paused by user "));
    EXPECT_FALSE(Reason::fromRawValue(""));
}

}  // namespace
}  // namespace solvara
