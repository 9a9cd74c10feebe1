#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Date.h"
#include "core/foundation/EnumTable.h"
#include "core/health/HealthHistory.h"

namespace solvara {

// Relates the user's sleep ratings to their light debt and circadian score, and turns that into
// a strength word and advice texts; also judges one measured night.
class SleepCorrelation {
public:
    class CorrelationStrength {
    public:
        enum Value : std::uint8_t { strong, moderate, weak, insufficient };

        // Implicit both ways, so that a case stands for the type and switch and == work on it.
        constexpr CorrelationStrength(Value value) : value_(value) {}
        constexpr operator Value() const { return value_; }

        constexpr std::string_view rawValue() const { return rawValueIn(table, value_); }
        static constexpr std::optional<CorrelationStrength> fromRawValue(std::string_view raw);

    private:
        static constexpr std::array<EnumEntry<Value>, 4> table{{
            {strong, "Strong"},
            {moderate, "Moderate"},
            {weak, "Weak"},
            {insufficient, "Insufficient Data"},
        }};

        Value value_;
    };

    struct HistoricalInsight {
        CorrelationStrength sleepLightDebtCorrelation = CorrelationStrength::insufficient;
        double averageSleepOnLowDebt = 0.0;   // rated days with a debt peak of 20 or less; 0 for none
        double averageSleepOnHighDebt = 0.0;  // rated days with a debt peak above 20; 0 for none
        // Mean score of the days rated 4 or more (below 3 for poor sleep); absent when no such
        // day has a score.
        std::optional<double> averageScoreOnGoodSleep;
        std::optional<double> averageScoreOnPoorSleep;
        std::vector<std::string> recommendations;  // one to three
    };

    struct SleepData {
        Date date;
        Date bedtime;
        Date wakeTime;
        double totalSleepHours = 0.0;
        double sleepEfficiency = 0.0;  // share of the time in bed spent asleep
    };

    struct Correlation {
        double eveningMelanopicEDI = 0.0;  // lux
        double lightDebtAtBedtime = 0.0;   // points
        double sleepEfficiency = 0.0;
        std::string recommendation;
    };

    // Absent with fewer than 3 rated days.
    static std::optional<HistoricalInsight> analyzeHistory(const std::vector<HealthHistory::DailySnapshot>& snapshots);
    static Correlation analyze(const SleepData& sleepData, double eveningMelanopicEDI, double lightDebt);
};

constexpr std::optional<SleepCorrelation::CorrelationStrength> SleepCorrelation::CorrelationStrength::fromRawValue(
    std::string_view raw) {
    if (auto value = fromRawValueIn(table, raw)) return CorrelationStrength(*value);
    return std::nullopt;
}

}  // namespace solvara
