#include "core/engine/SeasonalAwareness.h"

#include <cmath>
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

const std::string longer = "min this week). Morning light arrives earlier.";
const std::string shorter = "min this week). Evening filtering starts earlier to protect your sleep.";

TEST(SeasonalAwareness, DayLengthFromSunriseToSunsetOrTwelveHours) {
    const struct {
        const char* zone;
        Coordinate place;
        int month, day;
        double hours;  // geometric sunrise to sunset from an independent ephemeris
    } rows[] = {
        {"Europe/London", london, 12, 21, 7.5971},
        {"Asia/Kolkata", {22.5726, 88.3639}, 6, 21, 13.3859},
        {"Australia/Lord_Howe", {-31.5553, 159.0821}, 1, 15, 13.8445},
        {"Europe/Oslo", tromso, 6, 21, 12.0},   // polar day: no sunset
        {"Europe/Oslo", tromso, 12, 21, 12.0},  // sun below the horizon all day
    };
    for (const auto& row : rows) {
        ScopedTimeZone zone(row.zone);
        const Date date = *Calendar::date(2024, row.month, row.day, 9, 0);
        EXPECT_NEAR(SeasonalAwareness::dayLength(date, row.place), row.hours, 0.01) << row.zone << " " << row.month;
    }
}

// Around the equinoxes about 27 minutes a week; near the polar circle one of the two days may
// fall back to 12 hours and the change jumps by hours; deep in polar day it is nothing. The
// evening moves by half the change, against it.
TEST(SeasonalAwareness, AdviceFollowsTheWeeklyChange) {
    const struct {
        const char* zone;
        Coordinate place;
        int month, day;
        double minMinutes, maxMinutes;
        std::string advice;  // its start; empty: none
    } rows[] = {
        {"Europe/London", london, 3, 20, 25.9, 27.9, "Days are getting longer (+"},
        {"Europe/London", london, 9, 22, -28.5, -25, "Days are getting shorter (-"},
        {"Europe/Oslo", tromso, 5, 24, -720, -400, "Days are getting shorter (-"},  // the first polar day
        {"Europe/Oslo", tromso, 6, 21, 0, 0, ""},
    };
    for (const auto& row : rows) {
        ScopedTimeZone zone(row.zone);
        SCOPED_TRACE(std::string(row.zone) + " " + std::to_string(row.month));
        const Date date = *Calendar::date(2024, row.month, row.day, 12, 0);
        const double minutes = SeasonalAwareness::weeklyDayLengthChange(date, row.place) * 60;
        EXPECT_TRUE(minutes >= row.minMinutes && minutes <= row.maxMinutes) << minutes;
        const std::string advice = SeasonalAwareness::seasonalMessage(date, row.place).value_or("");
        EXPECT_EQ(advice.substr(0, row.advice.size()), row.advice);
        EXPECT_TRUE(advice.empty() || advice.ends_with(minutes > 0 ? longer : shorter)) << advice;
        EXPECT_NEAR(SeasonalAwareness::eveningAdjustmentMinutes(date, row.place), -minutes / 2, 1);
    }
}

// Around the solstice the weekly change passes through the threshold of 5 whole minutes.
TEST(SeasonalAwareness, MessageNeedsFiveWholeMinutes) {
    ScopedTimeZone zone("Europe/London");
    bool sawSilent = false, sawFive = false;
    for (int day = 1; day <= 40; ++day) {
        const Date date = *Calendar::date(2024, 6, day, 12, 0);
        const double minutes = SeasonalAwareness::weeklyDayLengthChange(date, london) * 60;
        const auto whole = static_cast<int>(std::fabs(minutes));
        const auto message = SeasonalAwareness::seasonalMessage(date, london);
        const std::string amount = (minutes > 0 ? "(+" : "(-") + std::to_string(whole) + "min";
        EXPECT_EQ(message.value_or("").find(amount) != std::string::npos, whole >= 5) << minutes;
        sawSilent = sawSilent || !message;
        sawFive = sawFive || (message && whole == 5);
    }
    EXPECT_TRUE(sawSilent && sawFive);
}

// The week is 604800 absolute seconds: after the clocks went forward, half past midnight
// compares with the day before the same weekday; after they went back, half past eleven at
// night compares with the day after it.
TEST(SeasonalAwareness, WeekIsCountedInAbsoluteSeconds) {
    ScopedTimeZone zone("Europe/London");
    const struct {
        Date date, comparedDay;
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
}

}  // namespace
}  // namespace solvara
