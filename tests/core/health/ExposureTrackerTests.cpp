#include "core/health/ExposureTracker.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "core/foundation/Format.h"
#include "core/foundation/Json.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedClock.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

Date at(int year, int month, int day, int hour, int minute = 0, int second = 0) {
    return *Calendar::date(year, month, day, hour, minute, second);
}

TEST(ExposureTracker, ScreenTimeCountsTodayFromMidnight) {
    testing::ScopedTimeZone zone("America/New_York");
    testing::ScopedClock clock(at(2025, 11, 4, 23, 59, 50));
    ExposureTracker tracker;
    EXPECT_EQ(tracker.todayScreenTimeHours(), 0.0);
    tracker.log(3400, 40.0, 10.0, true);  // yesterday, 10 seconds before midnight

    clock.set(at(2025, 11, 5, 0, 0, 0));
    for (int i = 0; i < 360; ++i) {
        tracker.log(6500, 120.0, 10.0, false);
        clock.advance(10.0);
    }
    EXPECT_EQ(tracker.todayScreenTimeHours(), 1.0);
    EXPECT_EQ(tracker.records().size(), 361u);

    const auto document = json::parse(*tracker.encodeTodayRecords());
    ASSERT_TRUE(document && document->is_array());
    EXPECT_EQ(document->size(), 360u);
    EXPECT_EQ((*document)[0]["timestamp"], at(2025, 11, 5, 0).secondsSinceReferenceDate);
    EXPECT_EQ((*document)[0]["colorTemperature"], 6500);
    EXPECT_EQ((*document)[0]["isPostDLMO"], false);
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

    EXPECT_EQ(tracker.averageMelanopicEDI(Date(1000.0), Date(2000.0)), 25.0);
    EXPECT_EQ(tracker.averageMelanopicEDI(Date(1000.0), Date(1000.0)), 100.0);
    EXPECT_EQ(tracker.averageMelanopicEDI(Date(1000.5), Date(1999.5)), 0.0);
    EXPECT_EQ(tracker.averageMelanopicEDI(Date(2500.0), Date(3000.0)), 0.0);  // durations add up to 0
    EXPECT_EQ(tracker.averageMelanopicEDI(Date(std::nan("")), Date(1e9)), 0.0);
    EXPECT_EQ(tracker.averageMelanopicEDI(Date(0.0), Date(std::nan(""))), 0.0);
}

TEST(ExposureTracker, EncodeThenRestoreGivesTheSameRecords) {
    testing::ScopedClock clock(at(2025, 2, 1, 20, 15));
    ExposureTracker tracker;
    tracker.log(2700, 12.345678901234567, 10.0, true);
    clock.advance(10.125);
    tracker.log(6500, 250.0, 7.5, false);

    const auto data = tracker.encodeTodayRecords();
    ASSERT_TRUE(data);
    ExposureTracker restored;
    restored.restoreRecords(*data);
    EXPECT_EQ(restored.records(), tracker.records());
}

TEST(ExposureTracker, NonFiniteValuesAreNeverEncoded) {
    testing::ScopedClock clock(at(2025, 2, 1, 20, 15));
    ExposureTracker tracker;
    tracker.log(2700, 30.0, 10.0, true);
    const auto good = tracker.encodeTodayRecords();
    ASSERT_TRUE(good);

    testing::LogCapture log;
    tracker.log(2700, std::numeric_limits<double>::quiet_NaN(), 10.0, true);
    EXPECT_FALSE(tracker.encodeTodayRecords());
    tracker.clear();
    tracker.log(2700, 30.0, std::numeric_limits<double>::infinity(), true);
    EXPECT_FALSE(tracker.encodeTodayRecords());
    EXPECT_TRUE(log.contains("[ExposureTracker]"));
    EXPECT_EQ(tracker.records().size(), 1u);

    // What was stored before still reads back.
    ExposureTracker restored;
    restored.restoreRecords(*good);
    EXPECT_EQ(restored.records().size(), 1u);
}

TEST(ExposureTracker, UnreadableDocumentsLeaveTheRecordsAlone) {
    testing::ScopedClock clock(at(2025, 2, 1, 20, 15));
    const double now = clock.now().secondsSinceReferenceDate;
    const auto record = [now](const char* extra) {
        return "{\"timestamp\":" + format::fixed(now, 1) +
               ",\"colorTemperature\":2700,\"melanopicEDI\":5,\"durationSeconds\":10" + extra + "}";
    };
    const std::string bad[] = {
        "",
        "not json",
        "{}",
        "[" + record(",\"isPostDLMO\":true") + "," + record("") + "]",  // one lacks a key
        "[" + record(",\"isPostDLMO\":1") + "]",
        "[" + record(",\"isPostDLMO\":null") + "]",
        R"([{"timestamp":"now","colorTemperature":2700,"melanopicEDI":5,"durationSeconds":10,"isPostDLMO":true}])",
        "[" + record(",\"isPostDLMO\":true,\"colorTemperature\":2700.5") + "]",
        "[1]",
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

    // Unknown keys are ignored; records of earlier days are dropped, even if nothing is left.
    EXPECT_TRUE(tracker.restoreRecords("[" + record(",\"isPostDLMO\":true,\"note\":\"x\"") + "]"));
    ASSERT_EQ(tracker.records().size(), 1u);
    EXPECT_EQ(tracker.records()[0].colorTemperature, 2700);
    EXPECT_TRUE(tracker.restoreRecords("[{\"timestamp\":" + format::fixed(now - 86400.0, 1) +
                                       ",\"colorTemperature\":2700,\"melanopicEDI\":5,\"durationSeconds\":10,"
                                       "\"isPostDLMO\":true}]"));
    EXPECT_TRUE(tracker.records().empty());
}

}  // namespace
}  // namespace solvara
