#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/foundation/Clock.h"
#include "platform/Timer.h"
#include "platform/fake/FakeRunLoop.h"

namespace solvara {
namespace {

TEST(FakeRunLoop, AdvanceFiresDueTimersInDueOrderAtTheirOwnTime) {
    FakeRunLoop loop(Date(1000));
    std::vector<std::string> fired;
    auto note = [&](const std::string& name) {
        return [&, name] { fired.push_back(name + "@" + std::to_string(static_cast<int>(Clock::now().secondsSinceReferenceDate))); };
    };
    loop.scheduleRepeating(2, note("watchdog"));
    loop.scheduleOnce(3, note("once"));
    loop.scheduleOnce(2, note("tie"));  // same due time as the first watchdog firing: scheduled later
    loop.scheduleOnce(-5, note("now"));
    loop.advance(0);
    EXPECT_EQ(fired, (std::vector<std::string>{"now@1000"}));
    loop.advance(4.5);
    EXPECT_EQ(fired, (std::vector<std::string>{"now@1000", "watchdog@1002", "tie@1002", "once@1003", "watchdog@1004"}));
    EXPECT_EQ(loop.now(), Date(1004.5));
    EXPECT_EQ(Clock::now(), Date(1004.5));
    EXPECT_EQ(loop.scheduledCount(), 1u);
}

TEST(FakeRunLoop, ActionsMayCancelAndScheduleAndPostedCallsRunBetweenFirings) {
    FakeRunLoop loop;
    int ticks = 0;
    std::vector<std::string> order;
    TimerId self = 0;
    self = loop.scheduleRepeating(1, [&] {
        ++ticks;
        loop.postToMain([&] { order.push_back("posted " + std::to_string(ticks)); });
        if (ticks == 3) loop.cancel(self);
    });
    loop.scheduleOnce(1.5, [&] {
        order.push_back("once");
        loop.scheduleOnce(0, [&] { order.push_back("chained"); });
    });
    loop.advance(10);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(loop.isScheduled(self));
    EXPECT_EQ(order, (std::vector<std::string>{"posted 1", "once", "chained", "posted 2", "posted 3"}));
}

TEST(FakeRunLoop, BackgroundWorkRunsInlineOrWhenAskedFor) {
    FakeRunLoop loop;
    int done = 0;
    loop.runInBackground([&] { ++done; });
    EXPECT_EQ(done, 1);
    loop.runsBackgroundInline = false;
    loop.runInBackground([&] { ++done; });
    EXPECT_EQ(done, 1);
    EXPECT_EQ(loop.pendingBackgroundCount(), 1u);
    loop.runBackgroundWork();
    EXPECT_EQ(done, 2);
}

TEST(Timer, OwnedTimerIsCancelledWhenDestroyedResetOrReplaced) {
    FakeRunLoop loop;
    int a = 0, b = 0;
    {
        Timer t = Timer::repeating(loop, 1, [&] { ++a; });
        EXPECT_TRUE(t.isValid());
        loop.advance(1);
        Timer moved = std::move(t);
        EXPECT_FALSE(t);
        loop.advance(1);
        moved = Timer::repeating(loop, 1, [&] { ++b; });  // replaces: the first is cancelled
        EXPECT_EQ(loop.scheduledCount(), 1u);
        loop.advance(1);
    }
    EXPECT_EQ(loop.scheduledCount(), 0u);
    loop.advance(5);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);

    Timer once = Timer::once(loop, 1, [] {});
    loop.advance(1);
    EXPECT_TRUE(once);
    EXPECT_FALSE(once.isValid());
}

}  // namespace
}  // namespace solvara
