#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/health/HealthHistory.h"
#include "core/health/SleepCorrelation.h"

namespace solvara::healthfigures {

// What the health views show, worked out without a screen: texts, star counts and colour names.
// The views only turn these into widgets.

// The named colours of the health views; the views map them onto the theme.
enum class HealthColor { blue, purple, orange, green, indigo, yellow, red, teal, secondary };

// A double shown or used as a whole number is truncated toward zero; NaN counts as 0 and the
// ends of the range stick, so no hostile stored value is undefined behaviour.
std::int64_t truncated(double value);
// A ratio as a whole percentage, truncated (0.999 is 99).
std::int64_t percentOf(double ratio);

// --- Circadian Health section ---------------------------------------------------------------
std::string lightDebtText(double points);   // "12.3 points"
std::string screenTimeText(double hours);   // "30s", "15m", "2.0 hrs"
std::string scoreText(std::int64_t score);  // "72/100"

// --- Weekly report ----------------------------------------------------------------------------
// The level word of a debt: "Low" below 10, "Medium" below 30, "High" below 50, else (NaN too)
// "Critical".
std::string debtLabel(double points);
HealthColor debtColor(double points);
// 90 to 100 green, 75 to 89 blue, 60 to 74 yellow, 40 to 59 orange, anything else red.
HealthColor scoreColor(std::int64_t score);

struct StatCard {
    std::string title;
    std::string value;
    std::string symbol;
    HealthColor color;
    bool operator==(const StatCard&) const = default;
};
// "Days Tracked", "Avg Score" (when the week has a score), "Screen Time", "Avg Debt",
// "Compliance", "Breaks".
std::vector<StatCard> weeklyStatCards(const HealthHistory::WeeklyReport& report);

struct InsightLine {
    std::string symbol;
    HealthColor color;
    std::string text;
    bool operator==(const InsightLine&) const = default;
};
// The week's insight lines, each by its own threshold, in a fixed order; may be empty.
std::vector<InsightLine> weeklyInsights(const HealthHistory::WeeklyReport& report);

std::string averageSleepText(double rating);  // "3.7 / 5"

struct DayRow {
    std::string text;   // "Best day: 2026-03-05"
    std::string score;  // "Score 88"
    bool operator==(const DayRow&) const = default;
};
// Absent when the day the report picked has no score.
std::optional<DayRow> bestDayRow(const HealthHistory::WeeklyReport& report);
std::optional<DayRow> worstDayRow(const HealthHistory::WeeklyReport& report);

// --- Sleep-quality rating -------------------------------------------------------------------
// Filled stars for a stored rating: 0 to 5, whatever was stored.
int ratedStars(std::int64_t rating);
// "Poor" ... "Great" for 1 to 5; empty for anything else.
std::string ratingLabel(std::int64_t rating);
// The seven-day line under the rating; absent unless both averages exist.
std::optional<std::string> sevenDaySleepInsight(std::optional<double> averageSleep, std::optional<double> averageDebt);

// --- Sleep-correlation insights -------------------------------------------------------------
HealthColor strengthColor(SleepCorrelation::CorrelationStrength strength);
// Star i (1 to 5) is filled when the average is at least i: no rounding, NaN fills none.
int averageStars(double average);
std::string averageRatingText(double average);  // "4.0 avg"
// "Circadian score on good sleep nights: 82 vs poor sleep: 70"; absent unless both exist.
std::optional<std::string> scoreComparisonText(std::optional<double> good, std::optional<double> poor);

}  // namespace solvara::healthfigures
