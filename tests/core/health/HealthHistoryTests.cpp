#include "core/health/HealthHistory.h"

#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "core/foundation/Json.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedClock.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

const Date noon = Date::fromUnixTime(1749988800.0);  // 2025-06-15 12:00 UTC

std::string daysAgo(int days) {
    return HealthHistory::dateString(*Calendar::addingDays(-days, noon));
}

void record(HealthHistory& history, const std::string& date, std::optional<std::int64_t> score) {
    history.recordDay(date, 1.0, 5.0, 0.5, 1, 1, score, std::nullopt);
}

std::vector<std::string> datesOf(const std::vector<HealthHistory::DailySnapshot>& snapshots) {
    std::vector<std::string> dates;
    for (const auto& s : snapshots) dates.push_back(s.date);
    return dates;
}

TEST(HealthHistory, RecordingReplacesTheDateAndKeepsTheLast365) {
    HealthHistory history;
    record(history, "2025-01-01", 50);
    record(history, "2025-01-02", 60);
    record(history, "2025-01-01", 70);
    EXPECT_EQ(datesOf(history.snapshots()), (std::vector<std::string>{"2025-01-02", "2025-01-01"}));
    EXPECT_EQ(history.snapshots().back().circadianScore, 70);

    HealthHistory year;
    const Date start = *Calendar::date(2024, 1, 1, 12);
    for (int day = 0; day < 366; ++day) record(year, HealthHistory::dateString(*Calendar::addingDays(day, start)), 1);
    ASSERT_EQ(year.snapshots().size(), HealthHistory::maximumDays);
    EXPECT_EQ(year.snapshots().front().date, "2024-01-02");
    EXPECT_EQ(year.snapshots().back().date, "2024-12-31");
}

TEST(HealthHistory, LastNDaysSpanNPlusOneCalendarDaysOldestFirst) {
    testing::ScopedTimeZone zone("Australia/Sydney");
    testing::ScopedClock clock(noon);
    HealthHistory history;
    EXPECT_FALSE(history.avgScreenTime(7));  // nothing to average: absent, not 0/0
    EXPECT_FALSE(history.weeklyReport());
    // Recorded out of date order: the selection is sorted, the list is not.
    for (int ago = 1; ago <= 40; ago += 2) record(history, daysAgo(ago), ago);
    for (int ago = 2; ago <= 40; ago += 2) record(history, daysAgo(ago), ago);

    EXPECT_EQ(
        datesOf(history.snapshotsForLastDays(7)),
        (std::vector<std::string>{daysAgo(7), daysAgo(6), daysAgo(5), daysAgo(4), daysAgo(3), daysAgo(2), daysAgo(1)}));
    EXPECT_EQ(*history.avgCircadianScore(7), 4.0);
    EXPECT_EQ(history.snapshotsForLastDays(30).size(), 30u);
    EXPECT_TRUE(history.snapshotsForLastDays(0).empty());

    record(history, daysAgo(0), 0);
    EXPECT_EQ(history.snapshotsForLastDays(7).size(), 8u);
    // A span the calendar cannot step back by selects the whole list.
    EXPECT_EQ(history.snapshotsForLastDays(std::numeric_limits<std::int64_t>::max()).size(), 41u);
}

TEST(HealthHistory, WeeklyReportTotalsAndTies) {
    testing::ScopedClock clock(noon);
    HealthHistory history;
    history.recordDay(daysAgo(20), 9.0, 90.0, 0.0, 0, 9, 10, 1);  // outside the week
    history.recordDay(daysAgo(3), 2.0, 10.0, 1.0, 4, 0, 80, 4);
    history.recordDay(daysAgo(2), 4.0, 30.0, 0.5, 2, 2, std::nullopt, std::nullopt);
    history.recordDay(daysAgo(1), 6.0, 20.0, 0.0, 0, 3, 80, 5);

    const auto report = history.weeklyReport();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->daysTracked, 3);
    EXPECT_EQ(report->totalScreenTimeHours, 12.0);
    EXPECT_EQ(report->avgScreenTimeHours, 4.0);
    EXPECT_EQ(report->avgLightDebt, 20.0);
    EXPECT_EQ(report->avgBreakCompliance, 0.5);
    EXPECT_EQ(report->totalBreaksCompleted, 6);
    EXPECT_EQ(report->totalBreaksSkipped, 5);
    EXPECT_EQ(report->avgCircadianScore, 80.0);
    EXPECT_EQ(report->avgSleepQuality, 4.5);
    // 80, none, 80: the first 80 is best, the day without a score (as 0) is worst.
    EXPECT_EQ(report->bestDay->date, daysAgo(3));
    EXPECT_EQ(report->worstDay->date, daysAgo(2));

    HealthHistory unscored;
    for (int ago = 3; ago >= 1; --ago) record(unscored, daysAgo(ago), std::nullopt);
    const auto plain = unscored.weeklyReport();
    EXPECT_EQ(plain->bestDay->date, daysAgo(3));
    EXPECT_EQ(plain->worstDay->date, daysAgo(3));
    EXPECT_FALSE(plain->avgCircadianScore);

    // Hostile stored counters stick at the end of the range instead of overflowing.
    const auto huge = std::numeric_limits<std::int64_t>::max();
    history.recordDay(daysAgo(2), 1.0, 1.0, 1.0, huge, 0, huge, 5);
    history.recordDay(daysAgo(1), 1.0, 1.0, 1.0, huge, 0, huge, 5);
    EXPECT_EQ(history.weeklyReport()->totalBreaksCompleted, huge);
    EXPECT_GT(*history.weeklyReport()->avgCircadianScore, 0.0);
}

// A one-snapshot document with `key` set to `value`, or left out when there is no value.
std::string documentWith(const std::string& key, std::optional<json::Json> value) {
    json::Json element{{"date", "2025-06-02"},      {"screenTimeHours", 1}, {"lightDebtPeakPoints", 2},
                       {"breakComplianceRatio", 1}, {"breaksCompleted", 3}, {"breaksSkipped", 0}};
    if (value) {
        element[key] = *value;
    } else {
        element.erase(key);
    }
    return "[" + element.dump() + "]";
}

TEST(HealthHistory, DocumentRoundTripAndOptionalKeys) {
    HealthHistory history;
    history.recordDay("2025-06-01", 3.25, 12.5, 0.8, 4, 1, 77, std::nullopt);
    history.recordDay("2025-05-31", 0.1, 0.0, 1.0, 0, 0, std::nullopt, 3);
    const auto data = history.encode();
    const auto document = json::parse(*data);
    EXPECT_FALSE((*document)[1].contains("circadianScore"));
    EXPECT_FALSE((*document)[0].contains("sleepQualityRating"));

    HealthHistory restored;
    EXPECT_TRUE(restored.restore(*data));
    EXPECT_EQ(restored.snapshots(), history.snapshots());

    // A null optional and an unknown key are accepted.
    for (const auto& accepted : {documentWith("circadianScore", nullptr), documentWith("note", json::Json{1})}) {
        EXPECT_TRUE(restored.restore(accepted)) << accepted;
        ASSERT_EQ(restored.snapshots().size(), 1u);
        EXPECT_FALSE(restored.snapshots()[0].circadianScore);
        EXPECT_EQ(restored.snapshots()[0].breaksCompleted, 3);
    }
}

TEST(HealthHistory, UnreadableDocumentsKeepTheHistory) {
    HealthHistory history;
    record(history, "2025-06-01", 70);
    const std::string bad[] = {
        "[",
        R"({"date":"2025-06-02"})",
        documentWith("breaksSkipped", std::nullopt),
        documentWith("circadianScore", "high"),
        documentWith("breaksCompleted", 3.5),
        documentWith("screenTimeHours", nullptr),
        // Dates that are not the key of a real day (the last one would break a CSV row).
        documentWith("date", "2025-6-02"),
        documentWith("date", "2025-02-30"),
        documentWith("date", "-001-01-01"),
        documentWith("date", "2025-06-02 "),
        documentWith("date", "2025-06-0\n,x"),
    };
    testing::LogCapture log;
    for (const auto& data : bad) {
        EXPECT_FALSE(history.restore(data)) << data;
        EXPECT_EQ(datesOf(history.snapshots()), std::vector<std::string>{"2025-06-01"}) << data;
    }
    EXPECT_TRUE(log.contains("[HealthHistory]"));
}

// A hand-edited store must not reach the views as "Score 9223372036854775807" nor overflow the
// week's sums.
TEST(HealthHistory, RestoredValuesAreHeldToTheirRangesAndTheClampIsLoggedOnce) {
    using Snapshot = HealthHistory::DailySnapshot;
    constexpr auto largest = std::numeric_limits<std::int64_t>::max();
    const struct {
        const char* key;
        json::Json stored;
        std::function<void(Snapshot&)> expected;  // applied to the document's other values
        bool moved;
    } rows[] = {
        {"circadianScore", largest, [](Snapshot& s) { s.circadianScore = 100; }, true},
        {"circadianScore", -5, [](Snapshot& s) { s.circadianScore = 0; }, true},
        {"circadianScore", 100, [](Snapshot& s) { s.circadianScore = 100; }, false},
        {"sleepQualityRating", 9, [](Snapshot& s) { s.sleepQualityRating = 5; }, true},
        {"sleepQualityRating", 0, [](Snapshot&) {}, true},  // the state's "not rated"
        {"sleepQualityRating", -2, [](Snapshot&) {}, true},
        {"sleepQualityRating", 1, [](Snapshot& s) { s.sleepQualityRating = 1; }, false},
        {"screenTimeHours", 30.5, [](Snapshot& s) { s.screenTimeHours = 24.0; }, true},
        {"screenTimeHours", -1, [](Snapshot& s) { s.screenTimeHours = 0.0; }, true},
        {"screenTimeHours", 24, [](Snapshot& s) { s.screenTimeHours = 24.0; }, false},
        {"breakComplianceRatio", 1.5, [](Snapshot& s) { s.breakComplianceRatio = 1.0; }, true},
        {"breakComplianceRatio", -0.25, [](Snapshot& s) { s.breakComplianceRatio = 0.0; }, true},
        {"breaksCompleted", largest, [](Snapshot& s) { s.breaksCompleted = 1'000'000; }, true},
        {"breaksSkipped", -4, [](Snapshot& s) { s.breaksSkipped = 0; }, true},
        {"lightDebtPeakPoints", -3, [](Snapshot& s) { s.lightDebtPeakPoints = 0.0; }, true},
        {"lightDebtPeakPoints", 1e300, [](Snapshot& s) { s.lightDebtPeakPoints = 1.0e6; }, true},
    };
    json::Json all = json::Json::array();
    std::size_t moved = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.key) + " " + row.stored.dump());
        Snapshot expected{"2025-06-02", 1.0, 2.0, 1.0, 3, 0, std::nullopt, std::nullopt};
        row.expected(expected);
        const std::string document = documentWith(row.key, row.stored);
        testing::LogCapture log;
        HealthHistory history;
        ASSERT_TRUE(history.restore(document));
        ASSERT_EQ(history.snapshots().size(), 1u);
        EXPECT_EQ(history.snapshots()[0], expected);
        EXPECT_EQ(log.lines.size(), row.moved ? 1u : 0u);
        if (row.moved) ++moved;
        all.push_back(json::parse(document)->at(0));
    }

    // A whole document of them: one line.
    testing::LogCapture log;
    HealthHistory history;
    ASSERT_TRUE(history.restore(all.dump()));
    EXPECT_EQ(log.lines, std::vector<std::string>{"[HealthHistory] Stored health history: values out of range in " +
                                                  std::to_string(moved) + " of " + std::to_string(std::size(rows)) +
                                                  " daily snapshots, held to their ranges"});
}

// A restored document is taken as it is, repeated dates and all; the limit applies again at the
// next recorded day.
TEST(HealthHistory, RestoredDocumentsAreTakenWholeUntilTheNextRecord) {
    json::Json document = json::Json::array();
    for (int i = 0; i < 400; ++i) document.push_back(json::parse(documentWith("circadianScore", i))->at(0));
    HealthHistory history;
    ASSERT_TRUE(history.restore(document.dump()));
    ASSERT_EQ(history.snapshots().size(), 400u);
    record(history, "2024-01-02", 1);
    ASSERT_EQ(history.snapshots().size(), HealthHistory::maximumDays);
    EXPECT_EQ(history.snapshots().front().circadianScore, 36);  // the oldest 36 are dropped
}

// The stored history must stay readable: no document rather than one with a null in it.
TEST(HealthHistory, NonFiniteValuesAreNeverEncoded) {
    HealthHistory history;
    record(history, "2025-06-01", 70);
    const auto stored = history.encode();
    testing::LogCapture log;
    history.recordDay("2025-06-02", std::numeric_limits<double>::quiet_NaN(), 0.0, 1.0, 0, 0, 50, 4);
    EXPECT_FALSE(history.encode());
    history.recordDay("2025-06-02", 1.0, std::numeric_limits<double>::infinity(), 1.0, 0, 0, 50, 4);
    EXPECT_FALSE(history.encode());
    EXPECT_TRUE(log.contains("[HealthHistory]"));
    EXPECT_EQ(history.snapshots().size(), 2u);
    EXPECT_TRUE(HealthHistory().restore(*stored));
}

}  // namespace
}  // namespace solvara
