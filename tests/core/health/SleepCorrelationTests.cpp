#include "core/health/SleepCorrelation.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace solvara {
namespace {

using Strength = SleepCorrelation::CorrelationStrength;
using Snapshot = HealthHistory::DailySnapshot;

const std::string highDebtText =
    "Your sleep quality drops on high light debt days. Try enabling red-only mode 2 hours before bed.";
const std::string scoreText =
    "Better circadian scores correlate with better sleep. Staying in Auto mode helps maintain rhythm.";
const std::string lowDebtText = "You sleep well on low light debt days. Keep reducing evening screen brightness.";
const std::string keepTrackingText = "Keep tracking to build stronger correlation data.";

Snapshot day(double debt, std::optional<std::int64_t> rating, std::optional<std::int64_t> score = std::nullopt) {
    return Snapshot{"2025-06-01", 5.0, debt, 1.0, 3, 0, score, rating};
}

TEST(SleepCorrelation, NeedsThreeRatedDays) {
    EXPECT_FALSE(SleepCorrelation::analyzeHistory({}));
    EXPECT_FALSE(SleepCorrelation::analyzeHistory({day(5, 4), day(5, std::nullopt), day(30, 2), day(1, std::nullopt)}));
    EXPECT_TRUE(SleepCorrelation::analyzeHistory({day(5, 4), day(5, std::nullopt), day(30, 2), day(1, 3)}));
}

// A peak of 20 is still low debt; a debt that is not a number is neither low nor high; a rating
// of 3 is neither good nor poor sleep. A group with no score (a history written without them)
// has no average, never NaN, and cannot fire the score text.
TEST(SleepCorrelation, StrengthAveragesAndAdvice) {
    const auto none = std::nullopt;
    const double nan = std::nan("");
    const struct {
        std::vector<Snapshot> days;
        Strength strength;
        double lowDebtSleep, highDebtSleep;
        std::optional<double> goodSleepScore, poorSleepScore;
        std::vector<std::string> advice;
    } rows[] = {
        {{day(10, 5, 90), day(15, 4, 85), day(25, 2, 50), day(30, 2, 60), day(20.5, none, 0)},
         Strength::strong,
         4.5,
         2,
         87.5,
         55,
         {highDebtText, scoreText, lowDebtText}},
        {{day(20, 4), day(0, 3), day(20.01, 3), day(80, 3)}, Strength::weak, 3.5, 3, none, none, {keepTrackingText}},
        {{day(20, 4), day(0, 4), day(20.01, 3), day(80, 3)}, Strength::moderate, 4, 3, none, none, {lowDebtText}},
        {{day(20, 5), day(0, 4), day(20.01, 3), day(80, 3)}, Strength::strong, 4.5, 3, none, none, {lowDebtText}},
        {{day(20, 1), day(0, 1), day(20.01, 5), day(80, 5)}, Strength::weak, 1, 5, none, none, {keepTrackingText}},
        {{day(1, 4), day(2, 5), day(3, 4)}, Strength::insufficient, 13.0 / 3, 0, none, none, {lowDebtText}},
        {{day(1, 3, 90), day(1, 3, 10), day(50, 3), day(50, 3)}, Strength::weak, 3, 3, none, none, {keepTrackingText}},
        {{day(nan, 1), day(nan, 1), day(50, 2)}, Strength::insufficient, 0, 2, none, none, {keepTrackingText}},
        {{day(1, 5), day(1, 4), day(1, 1, 20), day(1, 2, none)},
         Strength::insufficient,
         3,
         0,
         none,
         20,
         {keepTrackingText}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const auto insight = SleepCorrelation::analyzeHistory(rows[i].days);
        ASSERT_TRUE(insight);
        EXPECT_EQ(insight->sleepLightDebtCorrelation, rows[i].strength);
        EXPECT_DOUBLE_EQ(insight->averageSleepOnLowDebt, rows[i].lowDebtSleep);
        EXPECT_EQ(insight->averageSleepOnHighDebt, rows[i].highDebtSleep);
        EXPECT_EQ(insight->averageScoreOnGoodSleep, rows[i].goodSleepScore);
        EXPECT_EQ(insight->averageScoreOnPoorSleep, rows[i].poorSleepScore);
        EXPECT_EQ(insight->recommendations, rows[i].advice);
    }
    EXPECT_EQ(Strength(Strength::insufficient).rawValue(), "Insufficient Data");
    EXPECT_EQ(Strength(Strength::strong).rawValue(), "Strong");
}

TEST(SleepCorrelation, OneNightVerdicts) {
    struct Case {
        double edi, debt, efficiency;
        std::string text;
    };
    const std::string brightness =
        "High evening screen brightness may be affecting sleep. Try enabling red-only mode 2 hours before bed.";
    const std::string debt =
        "Accumulated light debt correlates with reduced sleep quality. Morning sunlight exposure can help reset.";
    const std::string fair =
        "Sleep quality is fair. Consider reducing screen brightness after sunset and following the morning protocol.";
    const std::string excellent =
        "Excellent sleep efficiency. Your light habits are well-aligned with your circadian rhythm.";
    const Case cases[] = {
        {60, 0, 0.79, brightness}, {60, 0, 0.8, fair},  {50, 40, 0.7, debt},     {60, 31, 0.8, debt},
        {60, 30, 0.8, fair},       {0, 99, 0.85, fair}, {60, 0, 0.9, excellent}, {0, 0, 1.0, excellent},
    };
    for (const auto& c : cases) {
        const SleepCorrelation::SleepData night{Date(0), Date(0), Date(28800), 8.0, c.efficiency};
        const auto verdict = SleepCorrelation::analyze(night, c.edi, c.debt);
        EXPECT_EQ(verdict.recommendation, c.text) << c.edi << " " << c.debt << " " << c.efficiency;
    }
}

}  // namespace
}  // namespace solvara
