#include "platform/linux/QtRunLoop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Timer.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara {
namespace {

using testing::processEventsUntil;

class QtRunLoopTest : public ::testing::Test {
protected:
    void SetUp() override { testing::qtTestApplication(); }
};

TEST_F(QtRunLoopTest, RepeatingTimersFireUntilCancelledEvenFromTheirOwnAction) {
    QtRunLoop loop;
    int firings = 0;
    TimerId id = 0;
    id = loop.scheduleRepeating(0.005, [&] {
        if (++firings == 3) loop.cancel(id);
    });
    EXPECT_TRUE(loop.isScheduled(id));
    ASSERT_TRUE(processEventsUntil([&] { return !loop.isScheduled(id); }));
    EXPECT_EQ(firings, 3);
    // Nothing more after the cancel.
    int later = 0;
    loop.scheduleOnce(0.03, [&] { later = 1; });
    ASSERT_TRUE(processEventsUntil([&] { return later == 1; }));
    EXPECT_EQ(firings, 3);
}

TEST_F(QtRunLoopTest, OneShotsFireOnceInDueOrderAndCancelledOnesNever) {
    using Clock = std::chrono::steady_clock;
    // Scheduled out of due order, so that a loop firing in the order of scheduling fails. Each is
    // due its delay after it was scheduled, a moment the clock read around the call bounds; a
    // stall between two calls (a loaded machine, a sanitizer build) can change which is due
    // first, so only what the bounds decide is judged. The delays lie far apart: a stall shorter
    // than 200 ms leaves every pair decided. A round where stalls left each shot due after those
    // scheduled before it cannot tell the two orders apart, and is run again.
    struct Shot {
        int delayMs;
        Clock::time_point dueFrom{};
        Clock::time_point dueBy{};
        TimerId id = 0;
    };
    const auto certainlyDueBefore = [](const Shot& a, const Shot& b) { return a.dueBy < b.dueFrom; };
    constexpr int rounds = 5;
    bool orderTested = false;
    for (int round = 0; round < rounds && !orderTested; ++round) {
        QtRunLoop loop;
        std::vector<Shot> shots{{400}, {0}, {200}};
        std::vector<std::size_t> order;
        TimerId cancelled = 0;
        for (std::size_t i = 0; i < shots.size(); ++i) {
            Shot& shot = shots[i];
            const auto delay = std::chrono::milliseconds(shot.delayMs);
            shot.dueFrom = Clock::now() + delay;
            shot.id = loop.scheduleOnce(shot.delayMs / 1000.0, [&order, i] { order.push_back(i); });
            shot.dueBy = Clock::now() + delay;
            if (i == 0) cancelled = loop.scheduleOnce(0.01, [&] { order.push_back(99); });
        }
        loop.cancel(cancelled);
        loop.cancel(cancelled);  // twice is harmless
        loop.cancel(12345);      // unknown too
        EXPECT_FALSE(loop.isScheduled(cancelled));
        ASSERT_TRUE(processEventsUntil([&] {
            return std::none_of(shots.begin(), shots.end(),
                                [&](const Shot& shot) { return loop.isScheduled(shot.id); });
        }));
        testing::settle();
        ASSERT_EQ(order.size(), shots.size()) << "each fires once, the cancelled one never";
        for (std::size_t i = 0; i < order.size(); ++i) {
            ASSERT_LT(order[i], shots.size()) << "the cancelled one fired";
            for (std::size_t j = i + 1; j < order.size(); ++j) {
                ASSERT_FALSE(certainlyDueBefore(shots[order[j]], shots[order[i]]))
                    << "the " << shots[order[i]].delayMs << " ms shot fired before the " << shots[order[j]].delayMs
                    << " ms one, which was due first";
            }
        }
        for (std::size_t i = 0; i < shots.size(); ++i) {
            for (std::size_t j = i + 1; j < shots.size(); ++j) {
                orderTested = orderTested || certainlyDueBefore(shots[j], shots[i]);
            }
        }
    }
    EXPECT_TRUE(orderTested) << "in each of " << rounds
                             << " rounds stalls left the shots due in the order scheduled: the order was never tested";
}

TEST_F(QtRunLoopTest, TimerHandlesCancelWhenTheyGoAway) {
    QtRunLoop loop;
    int firings = 0;
    {
        Timer timer = Timer::repeating(loop, 0.001, [&] { ++firings; });
        EXPECT_TRUE(timer.isValid());
    }
    bool done = false;
    loop.scheduleOnce(0.02, [&] { done = true; });
    ASSERT_TRUE(processEventsUntil([&] { return done; }));
    EXPECT_EQ(firings, 0);
}

TEST_F(QtRunLoopTest, BackgroundWorkLeavesTheMainThreadAndPostsBackInOrder) {
    QtRunLoop loop;
    const std::thread::id mainThread = std::this_thread::get_id();
    std::atomic<bool> ranElsewhere{false};
    std::vector<int> received;
    std::vector<std::thread::id> receivedOn;
    loop.runInBackground([&] {
        ranElsewhere = std::this_thread::get_id() != mainThread;
        for (int i = 0; i < 5; ++i) {
            loop.postToMain([&, i] {
                received.push_back(i);
                receivedOn.push_back(std::this_thread::get_id());
            });
        }
    });
    ASSERT_TRUE(processEventsUntil([&] { return received.size() == 5; }));
    EXPECT_TRUE(ranElsewhere);
    EXPECT_EQ(received, (std::vector<int>{0, 1, 2, 3, 4}));
    for (const auto& id : receivedOn) EXPECT_EQ(id, mainThread);
}

TEST_F(QtRunLoopTest, WorkStillRunningIsAbandonedAtDestructionNotWaitedFor) {
    auto release = std::make_shared<std::atomic<bool>>(false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    {
        QtRunLoop loop;
        // The work posts its result after the loop is gone, as a synthesis finishing while the
        // program quits does: the poster it kept makes that a no-op.
        loop.runInBackground([release, finished, post = loop.mainPoster()] {
            while (!release->load()) std::this_thread::yield();
            post([finished] { finished->store(false); });
            finished->store(true);
        });
    }  // waiting here for the work would never end: only the line below releases it
    release->store(true);
    while (!finished->load()) std::this_thread::yield();
    QCoreApplication::processEvents();
    EXPECT_TRUE(finished->load());
}

}  // namespace
}  // namespace solvara
