#include "core/health/HealthHistory.h"

#include <algorithm>
#include <limits>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "core/foundation/Json.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedClock.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

using Snapshot = HealthHistory::DailySnapshot;

const Date noon = Date::fromUnixTime(1749988800.0);  // 2025-06-15 12:00 UTC

std::string daysAgo(int days) {
    return HealthHistory::dateString(*Calendar::addingDays(-days, noon));
}

void record(HealthHistory& history, const std::string& date, std::optional<std::int64_t> score,
            std::optional<std::int64_t> rating = std::nullopt, double screenTime = 1.0) {
    history.recordDay(date, screenTime, 5.0, 0.5, 1, 1, score, rating);
}

std::vector<std::string> datesOf(const std::vector<Snapshot>& snapshots) {
    std::vector<std::string> dates;
    dates.reserve(snapshots.size());
    for (const auto& s : snapshots) dates.push_back(s.date);
    return dates;
}

TEST(HealthHistory, EmptyHistoryHasNothingToAverage) {
    testing::ScopedClock clock(noon);
    HealthHistory history;
    EXPECT_FALSE(history.avgScreenTime(7));
    EXPECT_FALSE(history.avgBreakCompliance(30));
    EXPECT_FALSE(history.avgLightDebt(7));
    EXPECT_FALSE(history.avgCircadianScore(365));
    EXPECT_FALSE(history.avgSleepQuality(7));
    EXPECT_TRUE(history.snapshotsForLastDays(7).empty());
    EXPECT_FALSE(history.weeklyReport());
}

TEST(HealthHistory, RecordingReplacesTheDateAndKeepsTheLast365) {
    HealthHistory history;
    record(history, "2025-01-01", 50);
    record(history, "2025-01-02", 60);
    record(history, "2025-01-01", 70);
    ASSERT_EQ(history.snapshots().size(), 2u);
    EXPECT_EQ(history.snapshots().back().date, "2025-01-01");
    EXPECT_EQ(history.snapshots().back().circadianScore, 70);

    HealthHistory year;
    const Date start = *Calendar::date(2024, 1, 1, 12);
    for (int day = 0; day < 366; ++day) {
        record(year, HealthHistory::dateString(*Calendar::addingDays(day, start)), day % 100);
    }
    ASSERT_EQ(year.snapshots().size(), HealthHistory::maximumDays);
    EXPECT_EQ(year.snapshots().front().date, "2024-01-02");
    EXPECT_EQ(year.snapshots().back().date, "2024-12-31");
}

TEST(HealthHistory, LastNDaysSpanNPlusOneCalendarDaysOldestFirst) {
    testing::ScopedTimeZone zone("Australia/Sydney");
    testing::ScopedClock clock(noon);
    HealthHistory history;
    // Recorded out of date order: the selection is sorted, the list is not.
    for (int ago = 1; ago <= 40; ago += 2) record(history, daysAgo(ago), ago);
    for (int ago = 2; ago <= 40; ago += 2) record(history, daysAgo(ago), ago);

    const auto week = history.snapshotsForLastDays(7);
    EXPECT_EQ(datesOf(week), (std::vector<std::string>{daysAgo(7), daysAgo(6), daysAgo(5), daysAgo(4), daysAgo(3),
                                                       daysAgo(2), daysAgo(1)}));
    EXPECT_EQ(*history.avgCircadianScore(7), 4.0);
    EXPECT_EQ(history.snapshotsForLastDays(30).size(), 30u);
    EXPECT_EQ(history.snapshotsForLastDays(365).size(), 40u);
    EXPECT_TRUE(history.snapshotsForLastDays(0).empty());

    record(history, daysAgo(0), 0);
    EXPECT_EQ(history.snapshotsForLastDays(7).size(), 8u);
    EXPECT_EQ(history.snapshotsForLastDays(7).back().date, daysAgo(0));
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
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->bestDay->date, daysAgo(3));
    EXPECT_EQ(plain->worstDay->date, daysAgo(3));
    EXPECT_FALSE(plain->avgCircadianScore);
    EXPECT_FALSE(plain->avgSleepQuality);
    EXPECT_FALSE(unscored.avgCircadianScore(7));
}

TEST(HealthHistory, DocumentRoundTripAndOptionalKeys) {
    HealthHistory history;
    history.recordDay("2025-06-01", 3.25, 12.5, 0.8, 4, 1, 77, std::nullopt);
    history.recordDay("2025-05-31", 0.1, 0.0, 1.0, 0, 0, std::nullopt, 3);
    const auto data = history.encode();
    ASSERT_TRUE(data);

    const auto document = json::parse(*data);
    ASSERT_TRUE(document);
    EXPECT_FALSE((*document)[1].contains("circadianScore"));
    EXPECT_FALSE((*document)[0].contains("sleepQualityRating"));
    EXPECT_EQ((*document)[0]["breaksCompleted"], 4);

    HealthHistory restored;
    EXPECT_TRUE(restored.restore(*data));
    EXPECT_EQ(restored.snapshots(), history.snapshots());

    restored.restore(R"([{"date":"2025-06-02","screenTimeHours":1,"lightDebtPeakPoints":2,
        "breakComplianceRatio":1,"breaksCompleted":3,"breaksSkipped":0,"circadianScore":null,"extra":[1]}])");
    ASSERT_EQ(restored.snapshots().size(), 1u);
    EXPECT_FALSE(restored.snapshots()[0].circadianScore);
    EXPECT_FALSE(restored.snapshots()[0].sleepQualityRating);
    EXPECT_EQ(restored.snapshots()[0].breaksCompleted, 3);
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

TEST(HealthHistory, UnreadableDocumentsKeepTheHistory) {
    HealthHistory history;
    record(history, "2025-06-01", 70);
    const std::string bad[] = {
        "",
        "[",
        R"({"date":"2025-06-02"})",
        documentWith("breaksSkipped", std::nullopt),
        documentWith("circadianScore", "high"),
        documentWith("date", 20250602),
        documentWith("breaksCompleted", 3.5),
        documentWith("screenTimeHours", nullptr),
    };
    testing::LogCapture log;
    for (const auto& data : bad) {
        EXPECT_FALSE(history.restore(data)) << data;
        ASSERT_EQ(history.snapshots().size(), 1u) << data;
        EXPECT_EQ(history.snapshots()[0].date, "2025-06-01");
    }
    EXPECT_TRUE(log.contains("[HealthHistory]"));
}

TEST(HealthHistory, RestoredDocumentsAreTakenWholeUntilTheNextRecord) {
    json::Json document = json::Json::array();
    for (int i = 0; i < 400; ++i) {
        auto element = json::parse(documentWith("circadianScore", i))->at(0);
        element["date"] = "2024-01-01";
        document.push_back(element);
    }
    HealthHistory history;
    history.restore(document.dump());
    ASSERT_EQ(history.snapshots().size(), 400u);  // repeated dates and all, in document order
    EXPECT_EQ(history.snapshots().front().circadianScore, 0);
    EXPECT_EQ(history.snapshots().back().circadianScore, 399);

    record(history, "2024-01-02", 1);
    ASSERT_EQ(history.snapshots().size(), HealthHistory::maximumDays);
    EXPECT_EQ(history.snapshots().front().circadianScore, 36);  // the oldest 36 are dropped
    EXPECT_EQ(history.snapshots().back().date, "2024-01-02");
}

TEST(HealthHistory, NonFiniteValuesAreNeverEncoded) {
    HealthHistory history;
    record(history, "2025-06-01", 70);
    const auto stored = history.encode();
    ASSERT_TRUE(stored);

    testing::LogCapture log;
    history.recordDay("2025-06-02", std::numeric_limits<double>::quiet_NaN(), 0.0, 1.0, 0, 0, 50, 4);
    EXPECT_FALSE(history.encode());
    history.recordDay("2025-06-02", 1.0, std::numeric_limits<double>::infinity(), 1.0, 0, 0, 50, 4);
    EXPECT_FALSE(history.encode());
    EXPECT_TRUE(log.contains("[HealthHistory]"));
    EXPECT_EQ(history.snapshots().size(), 2u);

    HealthHistory reread;
    reread.restore(*stored);
    EXPECT_EQ(reread.snapshots().size(), 1u);
}

TEST(HealthHistory, HostileCountersDoNotOverflowTheTotals) {
    testing::ScopedClock clock(noon);
    HealthHistory history;
    const auto huge = std::numeric_limits<std::int64_t>::max();
    history.recordDay(daysAgo(2), 1.0, 1.0, 1.0, huge, 0, huge, 5);
    history.recordDay(daysAgo(1), 1.0, 1.0, 1.0, huge, 0, huge, 5);
    const auto report = history.weeklyReport();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->totalBreaksCompleted, huge);
    EXPECT_GT(*report->avgCircadianScore, 0.0);
}

}  // namespace
}  // namespace solvara
