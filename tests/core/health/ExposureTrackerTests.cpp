#include "core/health/ExposureTracker.h"

#include <bit>
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
    ASSERT_TRUE(tracker.encodeTodayRecords());
    const std::string good(*tracker.encodeTodayRecords());

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
    restored.restoreRecords(good);
    EXPECT_EQ(restored.records().size(), 1u);

    // Once the day is over (or the records cleared) the stray record no longer counts.
    clock.advance(86400.0);
    tracker.log(2700, 30.0, 10.0, true);
    EXPECT_TRUE(tracker.encodeTodayRecords());
}

// Numbers whose text is easy to get wrong: each must read back bit for bit.
TEST(ExposureTracker, EveryNumberReadsBackExactly) {
    testing::ScopedClock clock(at(2025, 2, 1, 20, 15));
    const double awkward[] = {
        0.0, -0.0, 0.1, 1.0 / 3.0, 5.0, -1.5, 1e-7, 5e-324, 2.2250738585072014e-308, 1.7976931348623157e308,
        9007199254740993.0, 9223372036854775808.0, 18446744073709551616.0, 1e21, -1e19, 123456789.123456789,
    };
    const std::int64_t kelvins[] = {0, -1, 6500, std::numeric_limits<std::int64_t>::min(),
                                    std::numeric_limits<std::int64_t>::max()};
    ExposureTracker tracker;
    std::size_t i = 0;
    for (const double value : awkward) {
        clock.set(at(2025, 2, 1, 20, 15) + (value == 0.0 ? 0.0 : 1.0 / static_cast<double>(i + 3)));
        tracker.log(kelvins[i % std::size(kelvins)], value, awkward[(i + 5) % std::size(awkward)], i % 2 == 0);
        ++i;
    }
    clock.set(at(2025, 2, 1, 20, 15));
    tracker.log(1, 1, 1, true);
    clock.set(Date(4e9));  // far beyond today still counts
    tracker.log(1, 1, 1, true);
    clock.set(at(2025, 2, 1, 20, 15));

    const auto text = tracker.encodeTodayRecords();
    ASSERT_TRUE(text);
    ExposureTracker restored;
    ASSERT_TRUE(restored.restoreRecords(*text));
    ASSERT_EQ(restored.records().size(), tracker.records().size());
    const auto bits = [](double value) { return std::bit_cast<std::uint64_t>(value); };
    for (std::size_t k = 0; k < tracker.records().size(); ++k) {
        const auto& want = tracker.records()[k];
        const auto& got = restored.records()[k];
        EXPECT_EQ(bits(got.timestamp.secondsSinceReferenceDate), bits(want.timestamp.secondsSinceReferenceDate)) << k;
        EXPECT_EQ(bits(got.melanopicEDI), bits(want.melanopicEDI)) << k;
        EXPECT_EQ(bits(got.durationSeconds), bits(want.durationSeconds)) << k;
        EXPECT_EQ(got.colorTemperature, want.colorTemperature) << k;
        EXPECT_EQ(got.isPostDLMO, want.isPostDLMO) << k;
    }
}

// The document as one fresh encoding of the same records, logged one by one at their times.
std::optional<std::string> encodedFromScratch(const ExposureTracker& tracker, testing::ScopedClock& clock) {
    const Date now = clock.now();
    ExposureTracker fresh;
    for (const auto& record : tracker.records()) {
        clock.set(record.timestamp);
        fresh.log(record.colorTemperature, record.melanopicEDI, record.durationSeconds, record.isPostDLMO);
    }
    clock.set(now);
    const auto text = fresh.encodeTodayRecords();
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

TEST(ExposureTracker, TheKeptDocumentMatchesAFreshEncodingAsRecordsChange) {
    testing::ScopedTimeZone zone("Europe/Berlin");
    testing::ScopedClock clock(at(2025, 3, 29, 23, 58));
    ExposureTracker tracker;
    std::int64_t kelvin = 2000;
    const auto logSome = [&](int count) {
        for (int i = 0; i < count; ++i) {
            tracker.log(kelvin, 0.1 * static_cast<double>(kelvin), 10.0, kelvin % 3 == 0);
            ++kelvin;
            clock.advance(10.0);
        }
    };
    const auto expectFresh = [&](const char* step) {
        const auto kept = tracker.encodeTodayRecords();
        const auto fresh = encodedFromScratch(tracker, clock);
        ASSERT_EQ(kept.has_value(), fresh.has_value()) << step;
        if (!kept) return;
        EXPECT_EQ(*kept, *fresh) << step;
        // And it is the document of today's records, value for value.
        json::Json expected = json::Json::array();
        const Date start = Calendar::startOfDay(clock.now());
        for (const auto& r : tracker.records()) {
            if (r.timestamp < start) continue;
            expected.push_back({{"timestamp", r.timestamp.secondsSinceReferenceDate},
                                {"colorTemperature", r.colorTemperature},
                                {"melanopicEDI", r.melanopicEDI},
                                {"durationSeconds", r.durationSeconds},
                                {"isPostDLMO", r.isPostDLMO}});
        }
        EXPECT_EQ(json::parse(*kept), expected) << step;
    };

    expectFresh("empty");
    logSome(1);
    expectFresh("one record");
    logSome(3);
    expectFresh("appended");
    expectFresh("asked again without a change");
    logSome(12);  // across midnight into the day the clocks go forward
    expectFresh("after midnight, yesterday's records skipped");
    logSome(2);
    expectFresh("appended after midnight");

    tracker.clear();
    expectFresh("cleared");
    logSome(2);
    expectFresh("logged after the clear");

    const std::string document(*tracker.encodeTodayRecords());
    logSome(5);
    expectFresh("before the restore");
    ASSERT_TRUE(tracker.restoreRecords(document));
    expectFresh("restored");
    logSome(1);
    expectFresh("appended after the restore");

    tracker.log(1, std::nan(""), 10.0, true);
    testing::LogCapture log;
    expectFresh("a non-finite record");
    logSome(1);
    expectFresh("still one non-finite record");

    clock.advance(86400.0);  // a day with nothing logged
    expectFresh("a day later, nothing of today");
    logSome(3);
    expectFresh("the new day's records");

    // A time zone further west starts the day later: fewer of the records are today's.
    clock.set(at(2025, 3, 31, 0, 30));
    tracker.clear();
    logSome(2);
    expectFresh("before the zone change");
    testing::ScopedTimeZone west("America/New_York");
    logSome(1);
    expectFresh("after the zone change");
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
