#include "core/health/ExposureTracker.h"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "core/foundation/Format.h"
#include "core/foundation/Json.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedClock.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();

Date at(int year, int month, int day, int hour, int minute = 0, int second = 0) {
    return *Calendar::date(year, month, day, hour, minute, second);
}

TEST(ExposureTracker, ScreenTimeCountsTodayFromMidnight) {
    testing::ScopedTimeZone zone("America/New_York");
    testing::ScopedClock clock(at(2025, 11, 4, 23, 59, 50));
    ExposureTracker tracker;
    tracker.log(3400, 40.0, 10.0, true);  // yesterday, 10 seconds before midnight
    clock.set(at(2025, 11, 5, 0, 0, 0));
    for (int i = 0; i < 360; ++i) {
        tracker.log(6500, 120.0, 10.0, false);
        clock.advance(10.0);
    }
    EXPECT_EQ(tracker.todayScreenTimeHours(), 1.0);
    EXPECT_EQ(json::parse(*tracker.encodeTodayRecords())->size(), 360u);
}

TEST(ExposureTracker, WeightedMeanOverAnInclusiveRange) {
    testing::ScopedClock clock(Date(1000.0));
    ExposureTracker tracker;
    EXPECT_EQ(tracker.averageMelanopicEDI(Date(0.0), Date(1e9)), 0.0);
    tracker.log(6500, 100.0, 10.0, false);
    clock.set(Date(2000.0));
    tracker.log(2700, 0.0, 30.0, true);
    clock.set(Date(3000.0));
    tracker.log(2700, 500.0, 0.0, true);

    const struct {
        double from, to, mean;
    } ranges[] = {
        {1000, 2000, 25}, {1000, 1000, 100}, {1000.5, 1999.5, 0}, {2500, 3000, 0},  // durations add up to 0
        {nan, 1e9, 0},    {0, nan, 0},
    };
    for (const auto& r : ranges) EXPECT_EQ(tracker.averageMelanopicEDI(Date(r.from), Date(r.to)), r.mean) << r.from;
}

// Numbers whose text is easy to get wrong, and a record far beyond today: each reads back bit
// for bit.
TEST(ExposureTracker, EveryNumberReadsBackExactly) {
    testing::ScopedClock clock(at(2025, 2, 1, 20, 15));
    const double awkward[] = {0.0,  -0.0, 0.1, 1.0 / 3.0, 5e-324, 1e308, 9007199254740993.0, 9223372036854775808.0,
                              1e21, -1e19};
    const std::int64_t kelvins[] = {0, -1, std::numeric_limits<std::int64_t>::min(),
                                    std::numeric_limits<std::int64_t>::max()};
    ExposureTracker tracker;
    for (std::size_t i = 0; i < std::size(awkward); ++i) {
        clock.set(at(2025, 2, 1, 20, 15) + (i == 0 ? 0.0 : 1.0 / static_cast<double>(i + 3)));
        tracker.log(kelvins[i % 4], awkward[i], awkward[(i + 5) % std::size(awkward)], i % 2 == 0);
    }
    clock.set(Date(4e9));
    tracker.log(1, 1, 1, true);
    clock.set(at(2025, 2, 1, 20, 15));

    ExposureTracker restored;
    ASSERT_TRUE(restored.restoreRecords(*tracker.encodeTodayRecords()));
    EXPECT_EQ(restored.records(), tracker.records());
    EXPECT_TRUE(std::signbit(restored.records()[1].melanopicEDI));  // -0.0, which == cannot tell from 0
}

// The document is kept and extended as records are logged; at every step it must be the
// document of today's records, or absent while one of them holds a non-finite number.
TEST(ExposureTracker, TheKeptDocumentFollowsTheRecords) {
    testing::ScopedTimeZone zone("Europe/Berlin");
    testing::ScopedClock clock(at(2025, 3, 29, 23, 58));
    ExposureTracker tracker;
    std::int64_t kelvin = 2000;
    const auto logSome = [&](int count) {
        for (int i = 0; i < count; ++i, ++kelvin, clock.advance(10.0)) {
            tracker.log(kelvin, 0.1 * static_cast<double>(kelvin), 10.0, kelvin % 3 == 0);
        }
    };
    const auto expectToday = [&](const char* step) {
        json::Json expected = json::Json::array();
        bool finite = true;
        for (const auto& r : tracker.records()) {
            if (r.timestamp < Calendar::startOfDay(clock.now())) continue;
            finite = finite && std::isfinite(r.melanopicEDI) && std::isfinite(r.durationSeconds);
            expected.push_back({{"timestamp", r.timestamp.secondsSinceReferenceDate},
                                {"colorTemperature", r.colorTemperature},
                                {"melanopicEDI", r.melanopicEDI},
                                {"durationSeconds", r.durationSeconds},
                                {"isPostDLMO", r.isPostDLMO}});
        }
        const auto kept = tracker.encodeTodayRecords();
        ASSERT_EQ(kept.has_value(), finite) << step;
        if (kept) {
            EXPECT_EQ(json::parse(*kept), expected) << step;
        }
    };

    expectToday("empty");
    logSome(1);
    expectToday("one record");
    logSome(3);
    expectToday("appended");
    expectToday("asked again without a change");
    logSome(12);  // across midnight into the day the clocks go forward
    expectToday("after midnight, yesterday's records skipped");
    tracker.clear();
    logSome(2);
    expectToday("logged after a clear");
    const std::string document(*tracker.encodeTodayRecords());
    logSome(5);
    expectToday("before the restore");
    ASSERT_TRUE(tracker.restoreRecords(document));
    expectToday("restored");
    logSome(1);
    expectToday("appended after the restore");

    tracker.log(1, nan, 10.0, true);
    testing::LogCapture log;
    expectToday("a non-finite record");
    logSome(1);
    expectToday("still one non-finite record");
    tracker.clear();
    tracker.log(1, 1.0, std::numeric_limits<double>::infinity(), true);
    expectToday("a non-finite duration");
    EXPECT_TRUE(log.contains("[ExposureTracker]"));
    clock.advance(86400.0);
    logSome(3);
    expectToday("a day later");

    // A time zone further west starts the day later: fewer of the records are today's.
    clock.set(at(2025, 3, 31, 0, 30));
    tracker.clear();
    logSome(2);
    expectToday("before the zone change");
    testing::ScopedTimeZone west("America/New_York");
    logSome(1);
    expectToday("after the zone change");
}

TEST(ExposureTracker, UnreadableDocumentsLeaveTheRecordsAlone) {
    testing::ScopedClock clock(at(2025, 2, 1, 20, 15));
    const auto record = [](double timestamp, const char* extra) {
        return "{\"timestamp\":" + format::fixed(timestamp, 1) +
               ",\"colorTemperature\":2700,\"melanopicEDI\":5,\"durationSeconds\":10" + extra + "}";
    };
    const double now = clock.now().secondsSinceReferenceDate;
    const std::string bad[] = {
        "not json",
        "{}",
        "[1]",
        "[" + record(now, ",\"isPostDLMO\":true") + "," + record(now, "") + "]",  // one lacks a key
        "[" + record(now, ",\"isPostDLMO\":1") + "]",
        "[" + record(now, ",\"isPostDLMO\":true,\"colorTemperature\":2700.5") + "]",
    };
    ExposureTracker tracker;
    tracker.log(3000, 1.0, 10.0, false);
    testing::LogCapture log;
    for (const auto& data : bad) {
        EXPECT_FALSE(tracker.restoreRecords(data)) << data;
        ASSERT_EQ(tracker.records().size(), 1u) << data;
        EXPECT_EQ(tracker.records()[0].colorTemperature, 3000);
    }
    EXPECT_TRUE(log.contains("[ExposureTracker]"));

    // Unknown keys are ignored; records of earlier days are dropped.
    EXPECT_TRUE(tracker.restoreRecords("[" + record(now - 86400.0, ",\"isPostDLMO\":true") + "," +
                                       record(now, ",\"isPostDLMO\":true,\"note\":\"x\"") + "]"));
    ASSERT_EQ(tracker.records().size(), 1u);
    EXPECT_EQ(tracker.records()[0].timestamp, clock.now());
}

}  // namespace
}  // namespace solvara
