#pragma once

#include <cstdint>
#include <string>

#include "app/ui/dashboard/DashboardTexts.h"
#include "core/health/LightDebtCalculator.h"

namespace solvara::dashboard {

// Minutes from today's wake time to now on the 24-hour circle, 0..1439: a wake time later than
// the clock counts from the previous day. Any stored hour or minute wraps modulo the day.
std::int64_t minutesSinceWake(int nowHour, int nowMinute, std::int64_t wakeHour, std::int64_t wakeMinute);
// "2h 5m since wake", "45m since wake".
std::string sinceWakeText(std::int64_t minutes);

// The ring's filled share: logged / target, within 0..1 (never a negative or mirrored arc).
double ringProgress(double logged, double target);

// The dot beside the light-debt level: an unknown level text is green.
Tint coachDebtTint(const std::string& level);

// What the coach says, by the first rule that holds: target reached, high debt, closing morning
// window, nothing logged yet, else how many minutes are left.
struct CoachInput {
    LightDebtCalculator::DebtLevel level = LightDebtCalculator::DebtLevel::low;
    double logged = 0.0;
    double target = 30.0;
    std::int64_t sinceWake = 0;
    bool morningBoostActive = false;
};
std::string coachingTip(const CoachInput& input);

// "+15 min".
std::string coachButtonTitle(int minutes);

}  // namespace solvara::dashboard
