#include "core/solar/SolarEvent.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "core/solar/SolarPositionCalculator.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

using testing::LogCapture;
using testing::ScopedTimeZone;

constexpr const char* start = "start";  // the event falls on the start of the day itself

struct Place {
    const char* name;
    Coordinate coordinate;
    const char* zone;
};

const Place newYork{"New York", {40.7128, -74.006}, "America/New_York"};
const Place london{"London", {51.5074, -0.1278}, "Europe/London"};
const Place lordHowe{"Lord Howe Island", {-31.5553, 159.0821}, "Australia/Lord_Howe"};
const Place kolkata{"Kolkata", {22.5726, 88.3639}, "Asia/Kolkata"};
const Place saoPaulo{"Sao Paulo", {-23.5505, -46.6333}, "America/Sao_Paulo"};
const Place tromso{"Tromso", {69.6492, 18.9553}, "Europe/Oslo"};
const Place longyearbyen{"Longyearbyen", {78.2232, 15.6267}, "Arctic/Longyearbyen"};
const Place mcMurdo{"McMurdo", {-77.85, 166.67}, "Antarctica/McMurdo"};
const Place quito{"Quito", {-0.1807, -78.4678}, "America/Guayaquil"};

struct Day {
    const Place& place;
    int year, month, day;
    // Local wall-clock times of the sun's centre crossing -6 and 0 degrees, without refraction,
    // from an independent ephemeris; nullptr where the day has no such event.
    const char* civilDawn;
    const char* sunrise;
    const char* sunset;
    const char* civilDusk;
    const char* solarNoon;  // the true transit; ours is the best 10-minute sample
    double tolerance = 20;  // seconds
};

const Day days[] = {
    // Ordinary days and solstices.
    {newYork, 2024, 3, 20, "06:31:13", "07:02:54", "19:04:18", "19:36:03", "13:03:16"},
    {newYork, 2024, 6, 21, "04:51:42", "05:30:19", "20:25:38", "21:04:15", "12:57:59"},
    {newYork, 2024, 12, 21, "06:45:48", "07:21:57", "16:26:52", "17:03:01", "11:54:25"},
    {london, 2024, 6, 21, "03:55:25", "04:50:14", "21:14:36", "22:09:24", "13:02:25"},
    {london, 2024, 12, 21, "07:23:38", "08:10:53", "15:46:42", "16:33:57", "11:58:48"},
    {lordHowe, 2024, 1, 15, "05:05:31", "05:37:15", "19:27:55", "19:59:36", "12:32:44"},
    {kolkata, 2024, 3, 20, "05:18:06", "05:44:05", "17:44:05", "18:10:05", "11:43:55"},
    {kolkata, 2024, 6, 21, "04:27:39", "04:56:50", "18:19:59", "18:49:09", "11:38:24"},
    {kolkata, 2024, 12, 21, "05:47:38", "06:16:08", "16:53:16", "17:21:47", "11:34:42"},
    {saoPaulo, 2024, 7, 1, "06:24:38", "06:53:16", "17:27:52", "17:56:30", "12:10:32"},
    {tromso, 2024, 3, 20, "04:41:32", "05:51:17", "17:53:50", "19:04:08", "11:51:30", 40},
    {quito, 2024, 9, 22, "05:42:25", "06:06:25", "18:06:13", "18:30:13", "12:06:19"},
    // Daylight-saving days: the samples run over absolute time from the start of the day.
    {newYork, 2024, 3, 10, "06:47:38", "07:19:18", "18:53:30", "19:25:14", "13:06:05"},
    {newYork, 2024, 11, 3, "06:00:45", "06:34:01", "16:44:37", "17:17:52", "11:39:34"},
    {london, 2024, 3, 31, "06:03:23", "06:42:37", "19:27:25", "20:06:48", "13:04:30"},
    {london, 2024, 10, 27, "06:11:14", "06:51:41", "16:36:12", "17:16:35", "11:44:19"},
    {lordHowe, 2024, 4, 7, "05:44:27", "06:12:48", "17:38:17", "18:06:36", "11:55:46"},   // half-hour back
    {lordHowe, 2024, 10, 6, "05:30:45", "05:59:10", "18:24:50", "18:53:18", "12:11:45"},  // half-hour on
    {saoPaulo, 2018, 11, 4, "05:54:58", "06:22:32", "19:17:57", "19:45:34", "12:50:05"},  // midnight skipped
    {saoPaulo, 2019, 2, 16, "06:31:34", "06:58:40", "19:42:11", "20:09:14", "13:20:36"},  // 25-hour day
    // Polar day: up all day, so dawn and sunrise are the start of the day and nothing sets.
    {tromso, 2024, 6, 21, start, start, nullptr, nullptr, "12:46:05"},
    {longyearbyen, 2024, 6, 21, start, start, nullptr, nullptr, "12:59:24"},
    {mcMurdo, 2024, 12, 21, start, start, nullptr, nullptr, "13:51:22"},
    // Polar night: nothing crosses, noon is still the highest sample.
    {longyearbyen, 2024, 12, 21, nullptr, nullptr, nullptr, nullptr, "11:55:45"},
    {mcMurdo, 2024, 6, 21, nullptr, nullptr, nullptr, nullptr, "12:55:08"},
    // Above -6 but never above 0: a civil dawn, and no dusk because no sunset was ever found.
    {tromso, 2024, 12, 21, "09:31:31", nullptr, nullptr, nullptr, "11:42:26", 40},
};

std::string describe(const std::optional<Date>& date) {
    if (!date) return "none";
    const DateComponents c = Calendar::localComponents(*date);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", c.hour, c.minute, c.second);
    return text;
}

void expectEvent(const char* what, const std::optional<Date>& actual, const char* expected, Date startOfDay,
                 const Day& day, double tolerance) {
    SCOPED_TRACE(std::string(what) + " " + describe(actual));
    if (expected == nullptr) {
        EXPECT_FALSE(actual.has_value());
        return;
    }
    ASSERT_TRUE(actual.has_value());
    if (expected == start) {
        EXPECT_EQ(*actual, startOfDay);
        return;
    }
    int hour = 0, minute = 0, second = 0;
    ASSERT_EQ(std::sscanf(expected, "%d:%d:%d", &hour, &minute, &second), 3);
    const Date reference = *Calendar::date(day.year, day.month, day.day, hour, minute, second);
    EXPECT_NEAR(*actual - reference, 0, tolerance);
}

TEST(SolarEvent, MatchesAnEphemerisOnOrdinaryPolarAndDaylightSavingDays) {
    for (const Day& day : days) {
        ScopedTimeZone zone(day.place.zone);
        SCOPED_TRACE(std::string(day.place.name) + " " +
                     Calendar::dayKey(*Calendar::date(day.year, day.month, day.day)));
        const Date noon = *Calendar::date(day.year, day.month, day.day, 12, 0);
        const Date startOfDay = Calendar::startOfDay(noon);
        const SolarEvent events = SolarEvent::events(noon, day.place.coordinate);

        expectEvent("civil dawn", events.civilDawn, day.civilDawn, startOfDay, day, day.tolerance);
        expectEvent("sunrise", events.sunrise, day.sunrise, startOfDay, day, day.tolerance);
        expectEvent("sunset", events.sunset, day.sunset, startOfDay, day, day.tolerance);
        expectEvent("civil dusk", events.civilDusk, day.civilDusk, startOfDay, day, day.tolerance);
        // Sampled every 10 minutes and not refined.
        expectEvent("solar noon", events.solarNoon, day.solarNoon, startOfDay, day, 300 + day.tolerance);
        ASSERT_TRUE(events.solarNoon.has_value());
        EXPECT_EQ(std::fmod(*events.solarNoon - startOfDay, 600), 0);
    }
}

// The refined crossing lands within about a second of where the elevation changes sign.
TEST(SolarEvent, RefinedCrossingsSitOnTheThreshold) {
    ScopedTimeZone zone(london.zone);
    const SolarEvent events = SolarEvent::events(*Calendar::date(2024, 5, 2, 9, 0), london.coordinate);
    const SolarPositionCalculator calculator;
    auto elevation = [&](Date date) { return calculator.solarPosition(london.coordinate, date).elevation; };
    EXPECT_LT(elevation(*events.civilDawn - 1.5), -6);
    EXPECT_GE(elevation(*events.civilDawn + 1.5), -6);
    EXPECT_LT(elevation(*events.sunrise - 1.5), 0);
    EXPECT_GE(elevation(*events.sunrise + 1.5), 0);
    EXPECT_GE(elevation(*events.sunset - 1.5), 0);
    EXPECT_LT(elevation(*events.sunset + 1.5), 0);
    EXPECT_GE(elevation(*events.civilDusk - 1.5), -6);
    EXPECT_LT(elevation(*events.civilDusk + 1.5), -6);
}

// Reykjavik in mid-May: the sun starts the day just above -6, dips below it after midnight and
// climbs again. Only the first crossing counts, and the dip is no dusk while no sunset is known.
TEST(SolarEvent, OnlyTheFirstCrossingOfEachKindCounts) {
    ScopedTimeZone zone("Atlantic/Reykjavik");
    const Coordinate reykjavik{64.1466, -21.9426};
    const Date startOfDay = *Calendar::date(2024, 5, 15);
    const SolarPositionCalculator calculator;
    ASSERT_GE(calculator.solarPosition(reykjavik, startOfDay).elevation, -6);
    ASSERT_LT(calculator.solarPosition(reykjavik, startOfDay + 5400).elevation, -6);

    const SolarEvent events = SolarEvent::events(startOfDay + 43200, reykjavik);
    EXPECT_EQ(events.civilDawn, startOfDay);
    ASSERT_TRUE(events.sunrise && events.sunset);
    EXPECT_GT(*events.sunrise, startOfDay + 5400);
    EXPECT_FALSE(events.civilDusk.has_value());  // the evening one falls after midnight
}

// A sunset between the 23:50 sample and midnight is never seen, and so neither is the dusk.
TEST(SolarEvent, MissesACrossingAfterTheLastSample) {
    ScopedTimeZone zone("UTC");
    const Coordinate farWest{0, -88.8};  // sunset around 23:55 UTC
    const Date day = *Calendar::date(2024, 4, 10, 12, 0);
    const SolarPositionCalculator calculator;
    ASSERT_GE(calculator.solarPosition(farWest, *Calendar::date(2024, 4, 10, 23, 50)).elevation, 0);
    ASSERT_LT(calculator.solarPosition(farWest, *Calendar::date(2024, 4, 11, 0, 0)).elevation, 0);

    const SolarEvent events = SolarEvent::events(day, farWest);
    EXPECT_TRUE(events.sunrise.has_value());
    EXPECT_FALSE(events.sunset.has_value());
    EXPECT_FALSE(events.civilDusk.has_value());
}

TEST(SolarEvent, CacheIsKeyedByStartOfDayAndHundredthsOfADegree) {
    ScopedTimeZone zone(newYork.zone);
    const Date morning = *Calendar::date(2024, 5, 6, 8, 0);
    const Date evening = *Calendar::date(2024, 5, 6, 21, 0);

    const SolarEvent first = SolarEvent::events(morning, {40.7128, -74.006});
    EXPECT_EQ(first.date, morning);
    // Same day, coordinate equal after truncation: the cached record, date of the first call.
    const SolarEvent second = SolarEvent::events(evening, {40.7199, -74.0001});
    EXPECT_EQ(second.date, morning);
    EXPECT_EQ(second.sunrise, first.sunrise);

    // Truncation toward zero: 0.009 and -0.009 share the key part 0.
    const SolarEvent northOfEquator = SolarEvent::events(morning, {0.009, -74.006});
    EXPECT_EQ(northOfEquator.date, morning);
    EXPECT_EQ(SolarEvent::events(evening, {-0.009, -74.006}).date, morning);
    EXPECT_EQ(SolarEvent::events(evening, {0.01, -74.006}).date, evening);

    // Another day replaces the one entry.
    const Date nextDay = *Calendar::date(2024, 5, 7, 8, 0);
    EXPECT_EQ(SolarEvent::events(nextDay, {0.01, -74.006}).date, nextDay);
    EXPECT_EQ(SolarEvent::events(evening, {0.01, -74.006}).date, evening);
}

// Such input cannot form a key (converting it to an integer is undefined): the record is computed
// and the cache keeps what it held.
TEST(SolarEvent, UnkeyableInputIsComputedWithoutTouchingTheCache) {
    ScopedTimeZone zone(london.zone);
    const Date morning = *Calendar::date(2024, 5, 6, 8, 0);
    const Date later = morning + 3600;
    SolarEvent::events(morning, london.coordinate);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        Date date;
        Coordinate coordinate;
    };
    const Row rows[] = {
        {later, {nan, 0}},
        {later, {0, nan}},
        {later, {inf, 0}},
        {later, {0, -inf}},
        {later, {1e17, 0}},
        {later, {0, -1e17}},
        {Date(nan), london.coordinate},
        {Date(1e300), london.coordinate},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.coordinate.latitude);
        LogCapture log;
        const SolarEvent events = SolarEvent::events(row.date, row.coordinate);
        EXPECT_TRUE(log.contains("[SolarEvent]"));
        if (std::isnan(row.coordinate.latitude) || std::isnan(row.coordinate.longitude)) {
            EXPECT_FALSE(events.sunrise.has_value());
            EXPECT_FALSE(events.solarNoon.has_value());  // NaN never wins the noon test
        }
        EXPECT_EQ(SolarEvent::events(later, london.coordinate).date, morning);
    }
}

}  // namespace
}  // namespace solvara
