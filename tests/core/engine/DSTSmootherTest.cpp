#include "core/engine/DSTSmoother.h"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "tests/support/ScopedClock.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

using testing::ScopedClock;
using testing::ScopedTimeZone;

constexpr double day = 86400;

Date local(int year, int month, int dayOfMonth, int hour) {
    return *Calendar::date(year, month, dayOfMonth, hour, 0);
}

// Only a move of 3000 to 7200 seconds starts a transition. POSIX zones give offsets to the
// second ("XXX-0:50" is 3000 seconds east of GMT); real zones give a half-hour switch and travel.
TEST(DSTSmoother, OnlyJumpsOf3000To7200SecondsStartATransition) {
    struct Row {
        const char* from;
        const char* to;
        int expectedDirection;  // 0: nothing starts
        Date when = Date(700000000);
    };
    const Row rows[] = {
        {"GMT0", "XXX-0:49:59", 0},
        {"GMT0", "XXX-0:50", 1},
        {"GMT0", "XXX-2", 1},
        {"GMT0", "XXX-2:00:01", 0},
        {"GMT0", "XXX0:49:59", 0},
        {"GMT0", "XXX0:50", -1},
        {"GMT0", "XXX2", -1},
        {"GMT0", "XXX2:00:01", 0},
        {"Europe/London", "Europe/Paris", 1},  // one zone east
        {"Europe/Paris", "Europe/London", -1},
        {"Australia/Lord_Howe", "Australia/Lord_Howe", 0, Date::fromUnixTime(1712415600)},  // half-hour switch
        {"Asia/Kolkata", "Europe/London", 0, Date::fromUnixTime(1718000000)},               // five and a half hours
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.from) + " -> " + row.to);
        ScopedClock clock(row.when - day);
        DSTSmoother smoother(4);
        {
            ScopedTimeZone zone(row.from);
            smoother.checkForDSTChange();  // the first check only remembers the offset
            EXPECT_FALSE(smoother.isSmoothing());
            EXPECT_FALSE(smoother.transitionDate().has_value());
        }
        clock.set(row.when + day);
        ScopedTimeZone zone(row.to);
        smoother.checkForDSTChange();
        EXPECT_EQ(smoother.direction(), row.expectedDirection);
        EXPECT_EQ(smoother.isSmoothing(), row.expectedDirection != 0);
        EXPECT_EQ(smoother.currentOffsetMinutes(), -60 * row.expectedDirection);
        if (row.expectedDirection != 0) {
            EXPECT_EQ(smoother.transitionDate(), clock.now());
        }
        EXPECT_EQ(smoother.persistableState().lastOffset, Calendar::secondsFromGMT(clock.now()));
    }
}

struct Switch {
    const char* zone;
    int year, month, dayOfMonth;  // the day the clocks change
    int direction;
};

// Real switches, detected by a check on the day after the one before.
TEST(DSTSmoother, SmoothsRealSwitchesOverFourDays) {
    const Switch switches[] = {
        {"America/New_York", 2024, 3, 10, 1},   {"America/New_York", 2024, 11, 3, -1},
        {"Europe/London", 2024, 3, 31, 1},      {"Europe/London", 2024, 10, 27, -1},
        {"America/Sao_Paulo", 2018, 11, 4, 1},  // the clocks skipped midnight
        {"America/Sao_Paulo", 2019, 2, 17, -1},
    };
    for (const Switch& s : switches) {
        ScopedTimeZone zone(s.zone);
        SCOPED_TRACE(std::string(s.zone) + " " + std::to_string(s.month));
        ScopedClock clock(local(s.year, s.month, s.dayOfMonth - 1, 12));
        DSTSmoother smoother(4);
        smoother.checkForDSTChange();
        clock.set(local(s.year, s.month, s.dayOfMonth, 12));
        smoother.checkForDSTChange();
        ASSERT_EQ(smoother.direction(), s.direction);

        const std::string kind = s.direction > 0 ? "spring forward" : "fall back";
        const int minutes[] = {60, 45, 30, 15};
        const char* remaining[] = {"4 days", "3 days", "2 days", "1 day"};
        clock.advance(23 * 3600);  // 23 hours later is still the day of the switch
        EXPECT_EQ(smoother.currentOffsetMinutes(), -s.direction * 60);
        clock.set(local(s.year, s.month, s.dayOfMonth, 12));
        for (int elapsed = 0; elapsed < 4; ++elapsed) {
            SCOPED_TRACE(elapsed);
            EXPECT_TRUE(smoother.isSmoothing());
            EXPECT_EQ(smoother.currentOffsetMinutes(), -s.direction * minutes[elapsed]);
            EXPECT_EQ(smoother.statusMessage(), "Smoothing DST " + kind + " — " + remaining[elapsed] + " remaining");
            clock.set(*Calendar::addingDays(elapsed + 1, local(s.year, s.month, s.dayOfMonth, 12)));
        }
        EXPECT_FALSE(smoother.isSmoothing());
        EXPECT_EQ(smoother.currentOffsetMinutes(), 0);
        EXPECT_FALSE(smoother.statusMessage().has_value());
        // The fields keep their values once the transition has ended.
        EXPECT_EQ(smoother.direction(), s.direction);
        EXPECT_TRUE(smoother.transitionDate().has_value());
    }
}

// A clock set back before the switch gives a negative day count: still running, and more than
// an hour in size.
TEST(DSTSmoother, ClockSetBackBeforeTheSwitchOvershoots) {
    ScopedTimeZone zone("Europe/London");
    ScopedClock clock(local(2024, 3, 30, 12));
    DSTSmoother smoother(4);
    smoother.checkForDSTChange();
    clock.set(local(2024, 3, 31, 12));
    smoother.checkForDSTChange();
    clock.set(local(2024, 3, 30, 11));
    EXPECT_TRUE(smoother.isSmoothing());
    EXPECT_EQ(smoother.currentOffsetMinutes(), -75);
    EXPECT_EQ(smoother.statusMessage(), "Smoothing DST spring forward — 5 days remaining");
}

TEST(DSTSmoother, NonPositiveTransitionLengthNeverSmooths) {
    for (int days : {0, -1, -4}) {
        SCOPED_TRACE(days);
        ScopedTimeZone zone("America/New_York");
        ScopedClock clock(local(2024, 3, 9, 12));
        DSTSmoother smoother(days);
        smoother.checkForDSTChange();
        clock.set(local(2024, 3, 10, 12));
        smoother.checkForDSTChange();
        EXPECT_EQ(smoother.direction(), 1);
        for (Date when : {local(2024, 3, 10, 13), local(2024, 3, 1, 12), local(2024, 2, 1, 12)}) {
            clock.set(when);
            EXPECT_FALSE(smoother.isSmoothing());
            EXPECT_EQ(smoother.currentOffsetMinutes(), 0);
            EXPECT_FALSE(smoother.statusMessage().has_value());
        }
    }
}

TEST(DSTSmoother, PersistsAndRestoresItsThreeValues) {
    ScopedTimeZone zone("Asia/Kolkata");
    ScopedClock clock(Date::fromUnixTime(1718000000));
    DSTSmoother smoother(4);
    const auto fresh = smoother.persistableState();
    EXPECT_EQ(fresh.transitionTimestamp, 0);
    EXPECT_EQ(fresh.direction, 0);
    EXPECT_EQ(fresh.lastOffset, 19800);

    const double detected = 1718000000 - 3600;
    smoother.restore(detected, -1, 23400);
    EXPECT_EQ(smoother.transitionDate(), Date::fromUnixTime(detected));
    EXPECT_TRUE(smoother.isSmoothing());
    EXPECT_EQ(smoother.currentOffsetMinutes(), 60);
    const auto saved = smoother.persistableState();
    EXPECT_EQ(saved.transitionTimestamp, detected);
    EXPECT_EQ(saved.direction, -1);
    EXPECT_EQ(saved.lastOffset, 23400);

    // Zero, negative and non-finite timestamps keep the transition date; only the sign of the
    // direction is kept.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        double timestamp;
        int direction;
        int keptDirection;
    };
    for (const Row& row : {Row{0, 5, 1}, Row{-100, -7, -1}, Row{nan, 0, 0}, Row{inf, 2, 1}, Row{-inf, -1, -1}}) {
        smoother.restore(row.timestamp, row.direction, 19800);
        EXPECT_EQ(smoother.transitionDate(), Date::fromUnixTime(detected));
        EXPECT_EQ(smoother.direction(), row.keptDirection);
        EXPECT_EQ(smoother.persistableState().lastOffset, 19800);
    }
}

// A switch while the program was not running is noticed by the launch check after the restore.
TEST(DSTSmoother, LaunchCheckAfterRestoreNoticesAMissedSwitch) {
    ScopedTimeZone zone("America/New_York");
    ScopedClock clock(local(2024, 11, 4, 9));
    DSTSmoother smoother(4);
    smoother.restore(0, 0, -4 * 3600);  // saved while daylight-saving time was on
    smoother.checkForDSTChange();
    EXPECT_EQ(smoother.direction(), -1);
    EXPECT_EQ(smoother.currentOffsetMinutes(), 60);
    EXPECT_EQ(smoother.persistableState().lastOffset, -5 * 3600);
}

}  // namespace
}  // namespace solvara
