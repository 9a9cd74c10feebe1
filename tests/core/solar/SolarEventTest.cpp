#include "core/solar/SolarEvent.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

using testing::ScopedTimeZone;

// An expected event is a local "hh:mm:ss" or one of these.
constexpr const char* start = "start";  // the start of the day itself
constexpr const char* some = "some";    // present, time not checked
constexpr const char* none = nullptr;

struct Place {
    Coordinate coordinate;
    const char* zone;
};

const Place newYork{{40.7128, -74.006}, "America/New_York"};
const Place london{{51.5074, -0.1278}, "Europe/London"};
const Place lordHowe{{-31.5553, 159.0821}, "Australia/Lord_Howe"};
const Place kolkata{{22.5726, 88.3639}, "Asia/Kolkata"};
const Place saoPaulo{{-23.5505, -46.6333}, "America/Sao_Paulo"};
const Place tromso{{69.6492, 18.9553}, "Europe/Oslo"};
const Place longyearbyen{{78.2232, 15.6267}, "Arctic/Longyearbyen"};
const Place mcMurdo{{-77.85, 166.67}, "Antarctica/McMurdo"};
const Place reykjavik{{64.1466, -21.9426}, "Atlantic/Reykjavik"};
const Place farWest{{0, -88.8}, "UTC"};  // sunset around 23:55

struct Day {
    Place place;
    int year, month, day;
    // Times of the sun's centre crossing -6 and 0 degrees (no refraction) from an independent
    // ephemeris; noon is the true transit, ours the best 10-minute sample.
    const char *civilDawn, *sunrise, *sunset, *civilDusk, *solarNoon;
    double tolerance = 20;  // seconds
};

const Day days[] = {
    {newYork, 2024, 6, 21, "04:51:42", "05:30:19", "20:25:38", "21:04:15", "12:57:59"},
    {london, 2024, 12, 21, "07:23:38", "08:10:53", "15:46:42", "16:33:57", "11:58:48"},
    {lordHowe, 2024, 1, 15, "05:05:31", "05:37:15", "19:27:55", "19:59:36", "12:32:44"},
    {kolkata, 2024, 6, 21, "04:27:39", "04:56:50", "18:19:59", "18:49:09", "11:38:24"},
    {saoPaulo, 2024, 7, 1, "06:24:38", "06:53:16", "17:27:52", "17:56:30", "12:10:32"},
    // Daylight-saving days: the samples run over absolute time from the start of the day.
    {newYork, 2024, 3, 10, "06:47:38", "07:19:18", "18:53:30", "19:25:14", "13:06:05"},
    {newYork, 2024, 11, 3, "06:00:45", "06:34:01", "16:44:37", "17:17:52", "11:39:34"},
    {london, 2024, 3, 31, "06:03:23", "06:42:37", "19:27:25", "20:06:48", "13:04:30"},
    {lordHowe, 2024, 4, 7, "05:44:27", "06:12:48", "17:38:17", "18:06:36", "11:55:46"},   // half-hour back
    {lordHowe, 2024, 10, 6, "05:30:45", "05:59:10", "18:24:50", "18:53:18", "12:11:45"},  // half-hour on
    {saoPaulo, 2018, 11, 4, "05:54:58", "06:22:32", "19:17:57", "19:45:34", "12:50:05"},  // midnight skipped
    {saoPaulo, 2019, 2, 16, "06:31:34", "06:58:40", "19:42:11", "20:09:14", "13:20:36"},  // 25-hour day
    // Polar day: up at midnight, so dawn and sunrise are the start of the day and nothing sets.
    {tromso, 2024, 6, 21, start, start, none, none, "12:46:05"},
    {mcMurdo, 2024, 12, 21, start, start, none, none, "13:51:22"},
    // Polar night: nothing crosses; noon is still the highest sample.
    {longyearbyen, 2024, 12, 21, none, none, none, none, "11:55:45"},
    {mcMurdo, 2024, 6, 21, none, none, none, none, "12:55:08"},
    // Above -6 but never above 0: a dawn, and no dusk because no sunset was ever found.
    {tromso, 2024, 12, 21, "09:31:31", none, none, none, "11:42:26", 40},
    // Just above -6 at midnight, then below it and up again: only the first crossing counts, and
    // the dip is no dusk before a sunset (the evening dusk falls after midnight).
    {reykjavik, 2024, 5, 15, start, some, some, none, some},
    // A sunset between the 23:50 sample and midnight is never seen, nor then the dusk.
    {farWest, 2024, 4, 10, some, some, none, none, some},
};

void expectEvent(const char* what, const std::optional<Date>& actual, const char* expected, Date startOfDay,
                 double tolerance) {
    SCOPED_TRACE(what);
    ASSERT_EQ(actual.has_value(), expected != none);
    if (expected == none || expected == some) return;
    if (expected == start) {
        EXPECT_EQ(*actual, startOfDay);
        return;
    }
    int hour = 0, minute = 0, second = 0;
    ASSERT_EQ(std::sscanf(expected, "%d:%d:%d", &hour, &minute, &second), 3);
    EXPECT_NEAR(*actual - *Calendar::dateBySettingHour(hour, minute, second, startOfDay), 0, tolerance);
}

TEST(SolarEvent, MatchesAnEphemerisOnOrdinaryPolarAndDaylightSavingDays) {
    for (const Day& day : days) {
        ScopedTimeZone zone(day.place.zone);
        const Date noon = *Calendar::date(day.year, day.month, day.day, 12, 0);
        SCOPED_TRACE(std::string(day.place.zone) + " " + Calendar::dayKey(noon));
        const Date startOfDay = Calendar::startOfDay(noon);
        const SolarEvent events = SolarEvent::events(noon, day.place.coordinate);

        expectEvent("civil dawn", events.civilDawn, day.civilDawn, startOfDay, day.tolerance);
        expectEvent("sunrise", events.sunrise, day.sunrise, startOfDay, day.tolerance);
        expectEvent("sunset", events.sunset, day.sunset, startOfDay, day.tolerance);
        expectEvent("civil dusk", events.civilDusk, day.civilDusk, startOfDay, day.tolerance);
        expectEvent("solar noon", events.solarNoon, day.solarNoon, startOfDay, 300 + day.tolerance);
        EXPECT_EQ(std::fmod(*events.solarNoon - startOfDay, 600), 0);  // a sample, not refined
    }
}

// The one entry is keyed by the start of day and the coordinate truncated toward zero to
// hundredths; a cached record carries the date of the call that computed it. Input that cannot
// form a key (converting it to an integer is undefined) is computed and leaves the entry alone.
TEST(SolarEvent, CacheIsKeyedByStartOfDayAndHundredthsOfADegree) {
    ScopedTimeZone zone(newYork.zone);
    const Date morning = *Calendar::date(2024, 5, 6, 8, 0);
    const Date evening = morning + 13 * 3600.0;
    const Date nextDay = morning + 86400.0;
    const struct {
        Date date;
        Coordinate coordinate;
        Date recordDate;
    } calls[] = {
        {morning, {40.7128, -74.006}, morning}, {evening, {40.7199, -74.0001}, morning},
        {morning, {0.009, -74.006}, morning},   {evening, {-0.009, -74.006}, morning},
        {evening, {0.01, -74.006}, evening},    {morning, {0.01, 10.0}, morning},
        {nextDay, {0.01, -74.006}, nextDay},    {evening, {0.01, -74.006}, evening},
    };
    for (const auto& call : calls) EXPECT_EQ(SolarEvent::events(call.date, call.coordinate).date, call.recordDate);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Coordinate place{0.01, -74.006};
    std::vector<std::pair<Date, Coordinate>> unkeyable = {{Date(nan), place}, {Date(1e300), place}};
    for (double bad : {nan, inf, -inf, 1e17, -1e17}) {
        unkeyable.push_back({morning, {bad, 0}});
        unkeyable.push_back({morning, {0, bad}});
    }
    for (const auto& [date, coordinate] : unkeyable) {
        SCOPED_TRACE(std::to_string(coordinate.latitude) + " " + std::to_string(coordinate.longitude));
        testing::LogCapture log;
        const SolarEvent events = SolarEvent::events(date, coordinate);
        EXPECT_TRUE(log.contains("[SolarEvent]"));
        if (std::isnan(coordinate.latitude + coordinate.longitude)) {
            EXPECT_FALSE(events.sunrise || events.solarNoon);  // NaN never wins the noon test
        }
        EXPECT_EQ(SolarEvent::events(morning, place).date, evening);
    }
}

}  // namespace
}  // namespace solvara
