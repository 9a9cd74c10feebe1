#include "core/engine/SeasonalAwareness.h"

#include <cmath>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "core/solar/SolarEvent.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

using testing::ScopedTimeZone;

const Coordinate london{51.5074, -0.1278};
const Coordinate tromso{69.6492, 18.9553};

TEST(SeasonalAwareness, DayLengthFromSunriseToSunsetOrTwelveHours) {
    struct Row {
        const char* zone;
        Coordinate place;
        int month, day;
        double hours;  // geometric sunrise to sunset from an independent ephemeris
    };
    const Row rows[] = {
        {"Europe/London", london, 6, 21, 16.4062},
        {"Europe/London", london, 12, 21, 7.5971},
        {"Asia/Kolkata", {22.5726, 88.3639}, 6, 21, 13.3859},
        {"Australia/Lord_Howe", {-31.5553, 159.0821}, 1, 15, 13.8445},
        {"Europe/Oslo", tromso, 6, 21, 12.0},   // polar day: no sunset
        {"Europe/Oslo", tromso, 12, 21, 12.0},  // sun below the horizon all day
    };
    for (const Row& row : rows) {
        ScopedTimeZone zone(row.zone);
        SCOPED_TRACE(std::string(row.zone) + " " + std::to_string(row.month));
        EXPECT_NEAR(SeasonalAwareness::dayLength(*Calendar::date(2024, row.month, row.day, 9, 0), row.place), row.hours,
                    0.01);
    }
}

TEST(SeasonalAwareness, SpringAndAutumnMessagesInLondon) {
    ScopedTimeZone zone("Europe/London");
    const Date spring = *Calendar::date(2024, 3, 20, 12, 0);
    const double change = SeasonalAwareness::weeklyDayLengthChange(spring, london);
    EXPECT_NEAR(change * 60, 26.9, 1.0);  // about 3.8 minutes a day around the equinox
    EXPECT_EQ(SeasonalAwareness::seasonalMessage(spring, london), "Days are getting longer (+" +
                                                                      std::to_string(static_cast<int>(change * 60)) +
                                                                      "min this week). Morning light arrives earlier.");
    EXPECT_EQ(SeasonalAwareness::eveningAdjustmentMinutes(spring, london), -static_cast<int>(change * 30));
    EXPECT_LT(SeasonalAwareness::eveningAdjustmentMinutes(spring, london), -12);

    const Date autumn = *Calendar::date(2024, 9, 22, 12, 0);
    const double shrink = SeasonalAwareness::weeklyDayLengthChange(autumn, london);
    EXPECT_LT(shrink, 0);
    EXPECT_EQ(SeasonalAwareness::seasonalMessage(autumn, london),
              "Days are getting shorter (-" + std::to_string(static_cast<int>(-shrink * 60)) +
                  "min this week). Evening filtering starts earlier to protect your sleep.");
    EXPECT_GT(SeasonalAwareness::eveningAdjustmentMinutes(autumn, london), 12);
}

// Around the solstice the weekly change passes through the 5-minute threshold and zero.
TEST(SeasonalAwareness, MessageNeedsFiveWholeMinutes) {
    ScopedTimeZone zone("Europe/London");
    bool sawSilent = false;
    bool sawMessage = false;
    for (int day = 1; day <= 40; ++day) {
        const Date date = *Calendar::date(2024, 6, day, 12, 0);
        const double change = SeasonalAwareness::weeklyDayLengthChange(date, london);
        const auto minutes = static_cast<std::int64_t>(std::fabs(change * 60));
        const auto message = SeasonalAwareness::seasonalMessage(date, london);
        SCOPED_TRACE(change * 60);
        EXPECT_EQ(message.has_value(), minutes >= 5);
        if (message) {
            EXPECT_NE(message->find((change > 0 ? "(+" : "(-") + std::to_string(minutes) + "min this week)"),
                      std::string::npos);
        }
        sawSilent = sawSilent || !message;
        sawMessage = sawMessage || (message && minutes == 5);
    }
    EXPECT_TRUE(sawSilent);
    EXPECT_TRUE(sawMessage);
}

// Near the polar circle one of the two days may fall back to 12 hours: the change then jumps
// by hours, and the advice follows the jump.
TEST(SeasonalAwareness, PolarFallbackMakesTheChangeJump) {
    ScopedTimeZone zone("Europe/Oslo");
    const Date firstPolarDay = *Calendar::date(2024, 5, 24, 12, 0);
    ASSERT_FALSE(SolarEvent::events(firstPolarDay, tromso).sunset.has_value());
    const double weekBefore = SeasonalAwareness::dayLength(firstPolarDay - 604800, tromso);
    ASSERT_GT(weekBefore, 20);

    const double change = SeasonalAwareness::weeklyDayLengthChange(firstPolarDay, tromso);
    EXPECT_DOUBLE_EQ(change, 12 - weekBefore);
    EXPECT_EQ(SeasonalAwareness::seasonalMessage(firstPolarDay, tromso),
              "Days are getting shorter (-" + std::to_string(static_cast<int>(-change * 60)) +
                  "min this week). Evening filtering starts earlier to protect your sleep.");
    EXPECT_GT(SeasonalAwareness::eveningAdjustmentMinutes(firstPolarDay, tromso), 200);

    // Deep in polar day both days count 12 hours: no change, no message.
    const Date midsummer = *Calendar::date(2024, 6, 21, 12, 0);
    EXPECT_EQ(SeasonalAwareness::weeklyDayLengthChange(midsummer, tromso), 0);
    EXPECT_FALSE(SeasonalAwareness::seasonalMessage(midsummer, tromso).has_value());
    EXPECT_EQ(SeasonalAwareness::eveningAdjustmentMinutes(midsummer, tromso), 0);
}

// The week is 604800 absolute seconds: after the clocks went forward, half past midnight
// compares with the day before the same weekday; after they went back, half past eleven at
// night compares with the day after it.
TEST(SeasonalAwareness, WeekIsCountedInAbsoluteSeconds) {
    ScopedTimeZone zone("Europe/London");
    const struct {
        Date date;
        Date comparedDay;
    } rows[] = {
        {*Calendar::date(2024, 4, 2, 0, 30), *Calendar::date(2024, 3, 25, 12, 0)},     // Tuesday vs Monday
        {*Calendar::date(2024, 11, 2, 23, 30), *Calendar::date(2024, 10, 27, 12, 0)},  // Saturday vs Sunday
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(
            SeasonalAwareness::weeklyDayLengthChange(row.date, london),
            SeasonalAwareness::dayLength(row.date, london) - SeasonalAwareness::dayLength(row.comparedDay, london));
    }
}

// Today is sampled first, so the week-old day is what the one-entry cache holds afterwards.
TEST(SeasonalAwareness, LeavesTheEarlierDayInTheEventCache) {
    ScopedTimeZone zone("Europe/London");
    const Date today = *Calendar::date(2024, 3, 20, 12, 0);
    SeasonalAwareness::seasonalMessage(today, london);
    EXPECT_EQ(SolarEvent::events(today - 604800 + 60, london).date, today - 604800);
    SeasonalAwareness::eveningAdjustmentMinutes(today, london);
    EXPECT_NE(SolarEvent::events(today + 60, london).date, today);
}

}  // namespace
}  // namespace solvara
