#include "core/engine/DSTSmoother.h"

#include <limits>
#include <optional>
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
    const struct {
        const char *from, *to;
        int direction;  // 0: nothing starts
        Date when = Date(700000000);
    } rows[] = {
        {"GMT0", "XXX-0:49:59", 0},
        {"GMT0", "XXX-0:50", 1},
        {"GMT0", "XXX-2", 1},
        {"GMT0", "XXX-2:00:01", 0},
        {"GMT0", "XXX0:49:59", 0},
        {"GMT0", "XXX0:50", -1},
        {"GMT0", "XXX2", -1},
        {"GMT0", "XXX2:00:01", 0},
        {"Australia/Lord_Howe", "Australia/Lord_Howe", 0, Date::fromUnixTime(1712415600)},  // half-hour switch
        {"Asia/Kolkata", "Europe/London", 0, Date::fromUnixTime(1718000000)},               // five and a half hours
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.from) + " -> " + row.to);
        ScopedClock clock(row.when - day);
        DSTSmoother smoother(4);
        {
            ScopedTimeZone zone(row.from);
            smoother.checkForDSTChange();  // the first check only remembers the offset
            EXPECT_FALSE(smoother.transitionDate().has_value());
        }
        clock.set(row.when + day);
        ScopedTimeZone zone(row.to);
        smoother.checkForDSTChange();
        EXPECT_EQ(smoother.direction(), row.direction);
        EXPECT_EQ(smoother.currentOffsetMinutes(), -60 * row.direction);
        EXPECT_EQ(smoother.transitionDate(), row.direction != 0 ? std::optional(clock.now()) : std::nullopt);
        EXPECT_EQ(smoother.persistableState().lastOffset, Calendar::secondsFromGMT(clock.now()));
    }
}

// Real switches, detected by a check on the day after the one before. A clock then set back
// before the switch gives a negative day count: still running, and more than an hour in size.
TEST(DSTSmoother, SmoothsRealSwitchesOverFourDays) {
    const struct {
        const char* zone;
        int year, month, dayOfMonth;  // the day the clocks change
        int direction;
    } switches[] = {
        {"America/New_York", 2024, 3, 10, 1},   {"America/New_York", 2024, 11, 3, -1},
        {"Europe/London", 2024, 3, 31, 1},      {"America/Sao_Paulo", 2018, 11, 4, 1},  // midnight skipped
        {"America/Sao_Paulo", 2019, 2, 17, -1},
    };
    for (const auto& s : switches) {
        ScopedTimeZone zone(s.zone);
        SCOPED_TRACE(std::string(s.zone) + " " + std::to_string(s.month));
        const Date switchDay = local(s.year, s.month, s.dayOfMonth, 12);
        ScopedClock clock(local(s.year, s.month, s.dayOfMonth - 1, 12));
        DSTSmoother smoother(4);
        smoother.checkForDSTChange();
        clock.set(switchDay);
        smoother.checkForDSTChange();
        ASSERT_EQ(smoother.direction(), s.direction);

        const std::string kind = s.direction > 0 ? "Smoothing DST spring forward — " : "Smoothing DST fall back — ";
        const char* remaining[] = {"4 days", "3 days", "2 days", "1 day"};
        clock.advance(23 * 3600);  // still the day of the switch
        EXPECT_EQ(smoother.currentOffsetMinutes(), -s.direction * 60);
        for (int elapsed = 0; elapsed < 4; ++elapsed) {
            clock.set(*Calendar::addingDays(elapsed, switchDay));
            EXPECT_TRUE(smoother.isSmoothing()) << elapsed;
            EXPECT_EQ(smoother.currentOffsetMinutes(), -s.direction * (60 - 15 * elapsed));
            EXPECT_EQ(smoother.statusMessage(), kind + remaining[elapsed] + " remaining");
        }
        clock.set(*Calendar::addingDays(4, switchDay));
        EXPECT_FALSE(smoother.isSmoothing());
        EXPECT_EQ(smoother.currentOffsetMinutes(), 0);
        EXPECT_FALSE(smoother.statusMessage().has_value());

        clock.set(switchDay - 3600 - day);
        EXPECT_EQ(smoother.currentOffsetMinutes(), -s.direction * 75);
        EXPECT_EQ(smoother.statusMessage(), kind + "5 days remaining");
    }
}

TEST(DSTSmoother, NonPositiveTransitionLengthNeverSmooths) {
    ScopedTimeZone zone("America/New_York");
    for (int days : {0, -1}) {
        ScopedClock clock(local(2024, 3, 9, 12));
        DSTSmoother smoother(days);
        smoother.checkForDSTChange();
        clock.set(local(2024, 3, 10, 12));
        smoother.checkForDSTChange();
        EXPECT_EQ(smoother.direction(), 1);
        for (Date when : {local(2024, 3, 10, 13), local(2024, 3, 1, 12)}) {
            clock.set(when);
            EXPECT_FALSE(smoother.isSmoothing()) << days;
            EXPECT_EQ(smoother.currentOffsetMinutes(), 0);
            EXPECT_FALSE(smoother.statusMessage().has_value());
        }
    }
}

// Zero, negative and non-finite timestamps keep the transition date; only the sign of the
// direction is kept. A switch while the program was not running is noticed by the first check
// after the restore.
TEST(DSTSmoother, PersistsAndRestoresItsThreeValues) {
    ScopedTimeZone zone("Asia/Kolkata");
    ScopedClock clock(Date::fromUnixTime(1718000000));
    DSTSmoother smoother(4);
    EXPECT_EQ(smoother.persistableState().lastOffset, 19800);  // nothing known yet: the current one

    const double detected = 1718000000 - 3600;
    smoother.restore(detected, -1, 23400);
    EXPECT_EQ(smoother.currentOffsetMinutes(), 60);
    const auto saved = smoother.persistableState();
    EXPECT_EQ(saved.transitionTimestamp, detected);
    EXPECT_EQ(saved.direction, -1);
    EXPECT_EQ(saved.lastOffset, 23400);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double timestamp;
        int direction, keptDirection;
    } rows[] = {{0, 5, 1}, {-100, -7, -1}, {nan, 0, 0}, {inf, 2, 1}, {-inf, -1, -1}};
    for (const auto& row : rows) {
        smoother.restore(row.timestamp, row.direction, 19800 + 3600);
        EXPECT_EQ(smoother.persistableState().transitionTimestamp, detected) << row.timestamp;
        EXPECT_EQ(smoother.direction(), row.keptDirection);
    }
    smoother.checkForDSTChange();  // 23400 -> 19800: fall back
    EXPECT_EQ(smoother.direction(), -1);
    EXPECT_EQ(smoother.transitionDate(), clock.now());
    EXPECT_EQ(smoother.persistableState().lastOffset, 19800);
}

}  // namespace
}  // namespace solvara
