#include "core/health/LightDebtCalculator.h"

#include <algorithm>
#include <cmath>

#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"

namespace solvara {

namespace {

std::string todayKey() {
    return Calendar::dayKey(Clock::now());
}

// Share of the debt a night's sleep takes away: 0.3 below 4 hours, rising 0.092 an hour up
// to 10 hours, never above 0.85.
double nightRecoveryFraction(double sleepHours) {
    if (std::isnan(sleepHours) || sleepHours < 4.0) return 0.3;
    const double fraction = 0.3 + (std::min(sleepHours, 10.0) - 4.0) * 0.092;
    return std::min(fraction, 0.85);
}

double clampedAtZero(double value) {
    return value < 0.0 ? 0.0 : value;
}

}  // namespace

std::string_view LightDebtCalculator::DebtLevel::recommendation() const {
    switch (value_) {
        case low:
            return "Great job! Keep it up.";
        case medium:
            return "Consider 15 min extra morning sunlight tomorrow.";
        case high:
            return "Extended morning protocol recommended. Screen curfew suggested tonight.";
        case critical:
            return "Circadian rhythm needs reset. Screen-free evening + sunrise walk recommended.";
    }
    return {};
}

void LightDebtCalculator::accumulate(double actualEDI, double targetEDI, double durationHours) {
    if (!(targetEDI < actualEDI)) return;
    debtPoints_ += (actualEDI - targetEDI) * durationHours;
    lastDebtDate_ = todayKey();
}

void LightDebtCalculator::applyDaytimeDecay(double durationHours, double sleepHours) {
    const std::string today = todayKey();
    if (!lastDebtDate_.empty() && lastDebtDate_ != today) {
        debtPoints_ *= 1.0 - nightRecoveryFraction(sleepHours);
        lastDebtDate_ = today;
    }
    debtPoints_ = clampedAtZero(debtPoints_ - 2.0 * durationHours);
}

void LightDebtCalculator::recover(double morningSunlightMinutes, double protocolAdherenceBonus) {
    const double reduction = morningSunlightMinutes / 60.0 * 10.0 + protocolAdherenceBonus * 5.0;
    debtPoints_ = clampedAtZero(debtPoints_ - reduction);
}

void LightDebtCalculator::restoreDebt(double points, const std::string& date) {
    debtPoints_ = points;
    lastDebtDate_ = date.empty() ? todayKey() : date;
}

void LightDebtCalculator::reset() {
    debtPoints_ = 0.0;
    lastDebtDate_ = todayKey();
}

}  // namespace solvara
