#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Date.h"

namespace solvara {

// One summary per local calendar day, for up to a year, with averages over the last N days,
// the weekly report and the stored JSON document. Days are "yyyy-MM-dd" keys compared as plain
// strings. The owner records each day once it is over. Main thread only.
class HealthHistory {
public:
    static constexpr std::size_t maximumDays = 365;

    struct DailySnapshot {
        std::string date;  // "yyyy-MM-dd"
        double screenTimeHours = 0.0;
        double lightDebtPeakPoints = 0.0;
        double breakComplianceRatio = 0.0;  // 0 to 1
        std::int64_t breaksCompleted = 0;
        std::int64_t breaksSkipped = 0;
        std::optional<std::int64_t> circadianScore;      // 0 to 100
        std::optional<std::int64_t> sleepQualityRating;  // 1 to 5, when the user rated the night

        bool operator==(const DailySnapshot&) const = default;
    };

    struct WeeklyReport {
        std::int64_t daysTracked = 0;
        double totalScreenTimeHours = 0.0;
        double avgScreenTimeHours = 0.0;
        double avgLightDebt = 0.0;
        double avgBreakCompliance = 0.0;
        std::int64_t totalBreaksCompleted = 0;
        std::int64_t totalBreaksSkipped = 0;
        std::optional<double> avgCircadianScore;
        std::optional<double> avgSleepQuality;
        // Present in every report; the earliest in list order wins a tie, a missing score
        // counting as 0.
        std::optional<DailySnapshot> bestDay;
        std::optional<DailySnapshot> worstDay;
    };

    HealthHistory() = default;

    // Replaces any snapshot of the same date (the new one goes to the end) and keeps the last
    // 365 recorded.
    void recordDay(const std::string& date, double screenTimeHours, double lightDebtPeakPoints,
                   double breakComplianceRatio, std::int64_t breaksCompleted, std::int64_t breaksSkipped,
                   std::optional<std::int64_t> circadianScore, std::optional<std::int64_t> sleepQualityRating);

    // Averages over the snapshots dated from today − days up to today (and any later date), so
    // N + 1 calendar days; absent when there is nothing to average.
    std::optional<double> avgScreenTime(std::int64_t days) const;
    std::optional<double> avgBreakCompliance(std::int64_t days) const;
    std::optional<double> avgLightDebt(std::int64_t days) const;
    std::optional<double> avgCircadianScore(std::int64_t days) const;
    std::optional<double> avgSleepQuality(std::int64_t days) const;

    // The same selection, oldest date first (snapshots of one date keep their list order).
    std::vector<DailySnapshot> snapshotsForLastDays(std::int64_t days) const;
    // The last 7 days (8 calendar days, as above); absent when none was recorded.
    std::optional<WeeklyReport> weeklyReport() const;

    static std::string dateString(Date date);

    // All snapshots as a JSON array; absent when one holds a non-finite number, so that the
    // stored history is kept rather than replaced by a document that cannot be read back.
    std::optional<std::string> encode() const;
    // Replaces the list with the document's snapshots (no 365 limit until the next recordDay),
    // each value held to its range (hours 0 to 24, ratio 0 to 1, score 0 to 100, rating 1 to 5
    // or none, no negative count or debt; logged once); leaves it untouched when the document
    // is unreadable: false (logged).
    bool restore(std::string_view data);

    const std::vector<DailySnapshot>& snapshots() const { return snapshots_; }

private:
    std::vector<DailySnapshot> recentSnapshots(std::int64_t days) const;

    std::vector<DailySnapshot> snapshots_;
};

}  // namespace solvara
