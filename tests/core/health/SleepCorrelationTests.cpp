#include "core/health/SleepCorrelation.h"

#include <cmath>

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

TEST(SleepCorrelation, StrongCorrelationWithAllThreeTexts) {
    const auto insight = SleepCorrelation::analyzeHistory(
        {day(10, 5, 90), day(15, 4, 85), day(25, 2, 50), day(30, 2, 60), day(20.5, std::nullopt, 0)});
    ASSERT_TRUE(insight);
    EXPECT_EQ(insight->averageSleepOnLowDebt, 4.5);
    EXPECT_EQ(insight->averageSleepOnHighDebt, 2.0);
    EXPECT_EQ(insight->sleepLightDebtCorrelation, Strength::strong);
    EXPECT_EQ(insight->sleepLightDebtCorrelation.rawValue(), "Strong");
    EXPECT_EQ(insight->averageScoreOnGoodSleep, 87.5);
    EXPECT_EQ(insight->averageScoreOnPoorSleep, 55.0);
    EXPECT_EQ(insight->recommendations, (std::vector<std::string>{highDebtText, scoreText, lowDebtText}));
}

TEST(SleepCorrelation, StrengthThresholds) {
    // Two low-debt and two high-debt days with the given ratings; 20 points is still low debt.
    struct Case {
        std::int64_t low1, low2, high1, high2;
        Strength expected;
    };
    const Case cases[] = {
        {4, 3, 3, 3, Strength::weak},      // 3.5 vs 3.0: exactly 0.5 is not moderate
        {4, 4, 3, 4, Strength::weak},      // 4.0 vs 3.5
        {4, 4, 3, 3, Strength::moderate},  // a difference of exactly 1.0 is not strong
        {5, 4, 3, 3, Strength::strong},    // 4.5 vs 3.0
        {1, 1, 5, 5, Strength::weak},      // sleeping better on high debt: no magnitude
    };
    for (const auto& c : cases) {
        const auto insight = SleepCorrelation::analyzeHistory(
            {day(20.0, c.low1), day(0.0, c.low2), day(20.01, c.high1), day(80.0, c.high2)});
        ASSERT_TRUE(insight);
        EXPECT_EQ(insight->sleepLightDebtCorrelation, c.expected) << c.low1 << c.low2 << c.high1 << c.high2;
    }
    const auto moderate = SleepCorrelation::analyzeHistory(
        {day(1, 4), day(1, 4), day(1, 3), day(1, 3), day(1, 4), day(40, 3), day(40, 3)});  // 3.6 vs 3.0
    ASSERT_TRUE(moderate);
    EXPECT_EQ(moderate->sleepLightDebtCorrelation, Strength::moderate);
}

TEST(SleepCorrelation, TextsNeedEnoughDaysInTheirGroup) {
    // All on low debt: insufficient, high-debt average 0 but no high-debt text.
    const auto allLow = SleepCorrelation::analyzeHistory({day(1, 4), day(2, 5), day(3, 4)});
    ASSERT_TRUE(allLow);
    EXPECT_EQ(allLow->sleepLightDebtCorrelation, Strength::insufficient);
    EXPECT_EQ(Strength::fromRawValue("Insufficient Data"), Strength::insufficient);
    EXPECT_FALSE(Strength::fromRawValue("insufficient"));
    EXPECT_EQ(allLow->averageSleepOnHighDebt, 0.0);
    EXPECT_EQ(allLow->recommendations, (std::vector<std::string>{lowDebtText}));

    // Every rating exactly 3: no good or poor day and only the fallback text.
    const auto allThree = SleepCorrelation::analyzeHistory({day(1, 3, 90), day(1, 3, 10), day(50, 3), day(50, 3)});
    ASSERT_TRUE(allThree);
    EXPECT_FALSE(allThree->averageScoreOnGoodSleep);
    EXPECT_FALSE(allThree->averageScoreOnPoorSleep);
    EXPECT_EQ(allThree->recommendations, (std::vector<std::string>{keepTrackingText}));

    // A debt that is not a number is neither low nor high.
    const auto nanDebt = SleepCorrelation::analyzeHistory({day(std::nan(""), 1), day(std::nan(""), 1), day(50, 2)});
    ASSERT_TRUE(nanDebt);
    EXPECT_EQ(nanDebt->averageSleepOnLowDebt, 0.0);
    EXPECT_EQ(nanDebt->averageSleepOnHighDebt, 2.0);
    EXPECT_EQ(nanDebt->recommendations, (std::vector<std::string>{keepTrackingText}));
}

TEST(SleepCorrelation, GroupsWithoutScoresHaveNoAverage) {
    // Good-sleep days carry no score (a history written without them): absent, never NaN, and
    // the score text cannot fire.
    const auto insight =
        SleepCorrelation::analyzeHistory({day(1, 5), day(1, 4), day(1, 1, 20), day(1, 2, std::nullopt)});
    ASSERT_TRUE(insight);
    EXPECT_FALSE(insight->averageScoreOnGoodSleep);
    EXPECT_EQ(insight->averageScoreOnPoorSleep, 20.0);
    EXPECT_EQ(insight->recommendations, (std::vector<std::string>{keepTrackingText}));
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
        EXPECT_EQ(verdict.eveningMelanopicEDI, c.edi);
        EXPECT_EQ(verdict.lightDebtAtBedtime, c.debt);
        EXPECT_EQ(verdict.sleepEfficiency, c.efficiency);
    }
}

}  // namespace
}  // namespace solvara
