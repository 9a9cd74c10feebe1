#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/ui/dashboard/DashboardTexts.h"
#include "core/health/CircadianScore.h"

namespace solvara::dashboard {

// Today's composite score, by the same rule as the state's own: break compliance × 30, the
// light-debt level's points (blended with the 7-day average debt when there is one), and the
// morning boost's points; at most 100.
std::int64_t healthScore(double complianceRatio, const std::string& level, std::optional<double> weekAverageDebt,
                         bool morningBoostEnabled);

// A green, B blue, C yellow, D orange, F red.
Tint gradeTint(CircadianScore::Grade grade);
// "low" green, "medium" yellow, "high" orange, anything else red.
Tint cardDebtTint(const std::string& level);

// "75%" (truncated).
std::string complianceText(double ratio);
// "42s today", "59m today", "1.0h today".
std::string screenTimeText(double hours);
// The average light debt's word (Low, Medium, High, Critical); empty without an average.
std::optional<std::string> debtAverageText(std::optional<double> average);
// "83%" (truncated); empty without an average.
std::optional<std::string> percentAverageText(std::optional<double> average);
// "2.5h"; empty without an average.
std::optional<std::string> hoursAverageText(std::optional<double> average);
// "15min logged" (truncated).
std::string loggedMinutesText(double minutes);
// "10m".
std::string cardButtonTitle(int minutes);

}  // namespace solvara::dashboard
