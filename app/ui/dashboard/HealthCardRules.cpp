#include "app/ui/dashboard/HealthCardRules.h"

#include <algorithm>

#include "core/foundation/Format.h"

namespace solvara::dashboard {

namespace {

// The points and the word of an average light debt share their bounds; NaN falls through.
int averagePoints(double average) {
    if (average < 10.0) return 14;
    if (average < 30.0) return 10;
    if (average < 50.0) return 6;
    return 2;
}

}  // namespace

std::int64_t healthScore(double complianceRatio, const std::string& level, std::optional<double> weekAverageDebt,
                         bool morningBoostEnabled) {
    double debt = 5.0;
    if (level == "low") {
        debt = 35.0;
    } else if (level == "medium") {
        debt = 25.0;
    } else if (level == "high") {
        debt = 15.0;
    }
    if (weekAverageDebt) debt = debt * 0.6 + averagePoints(*weekAverageDebt);
    const std::int64_t score =
        wholeNumber(complianceRatio * 30.0) + wholeNumber(debt) + (morningBoostEnabled ? 25 : 15);
    return std::min<std::int64_t>(score, 100);
}

Tint gradeTint(CircadianScore::Grade grade) {
    switch (grade) {
        case CircadianScore::Grade::excellent:
            return Tint::green;
        case CircadianScore::Grade::good:
            return Tint::blue;
        case CircadianScore::Grade::fair:
            return Tint::yellow;
        case CircadianScore::Grade::poor:
            return Tint::orange;
        case CircadianScore::Grade::failing:
            return Tint::red;
    }
    return Tint::red;
}

Tint cardDebtTint(const std::string& level) {
    if (level == "low") return Tint::green;
    if (level == "medium") return Tint::yellow;
    if (level == "high") return Tint::orange;
    return Tint::red;
}

std::string complianceText(double ratio) {
    return percentText(ratio);
}

std::string screenTimeText(double hours) {
    const std::int64_t seconds = wholeNumber(hours * 3600.0);
    if (seconds < 60) return format::integer(seconds) + "s today";
    if (seconds < 3600) return format::integer(seconds / 60) + "m today";
    return format::fixed(hours, 1) + "h today";
}

std::optional<std::string> debtAverageText(std::optional<double> average) {
    if (!average) return std::nullopt;
    switch (averagePoints(*average)) {
        case 14:
            return "Low";
        case 10:
            return "Medium";
        case 6:
            return "High";
        default:
            return "Critical";
    }
}

std::optional<std::string> percentAverageText(std::optional<double> average) {
    if (!average) return std::nullopt;
    return percentText(*average);
}

std::optional<std::string> hoursAverageText(std::optional<double> average) {
    if (!average) return std::nullopt;
    return format::fixed(*average, 1) + "h";
}

std::string loggedMinutesText(double minutes) {
    return format::integer(wholeNumber(minutes)) + "min logged";
}

std::string cardButtonTitle(int minutes) {
    return format::integer(minutes) + "m";
}

}  // namespace solvara::dashboard
