#include "app/ui/dashboard/MorningCoachRules.h"

#include <algorithm>
#include <cmath>

#include "core/foundation/Format.h"

namespace solvara::dashboard {

std::int64_t minutesSinceWake(int nowHour, int nowMinute, std::int64_t wakeHour, std::int64_t wakeMinute) {
    // Reduced before multiplying, so an absurd stored hour cannot overflow.
    const std::int64_t wake = (wakeHour % 24) * 60 + wakeMinute % 1440;
    const std::int64_t now = static_cast<std::int64_t>(nowHour) * 60 + nowMinute;
    return ((now - wake) % 1440 + 1440) % 1440;
}

std::string sinceWakeText(std::int64_t minutes) {
    if (minutes >= 60) {
        return format::integer(minutes / 60) + "h " + format::integer(minutes % 60) + "m since wake";
    }
    return format::integer(minutes) + "m since wake";
}

double ringProgress(double logged, double target) {
    const double share = logged / target;
    if (std::isnan(share) || share <= 0.0) return 0.0;
    return std::min(share, 1.0);
}

Tint coachDebtTint(const std::string& level) {
    if (level == "medium") return Tint::yellow;
    if (level == "high") return Tint::orange;
    if (level == "critical") return Tint::red;
    return Tint::green;
}

std::string coachingTip(const CoachInput& input) {
    using Level = LightDebtCalculator::DebtLevel;
    if (input.logged >= input.target) {
        return "Target reached! Your circadian clock is getting a strong reset signal.";
    }
    if (input.level == Level::high || input.level == Level::critical) {
        if (input.logged != 0.0) return "Keep going \u2014 more morning light helps recover last night's debt faster.";
        return "Last night's light debt is elevated. 15 minutes of outdoor light can reduce it by ~18 points.";
    }
    if (input.sinceWake >= 121 && input.logged == 0.0) {
        return "Your morning window is closing. Outdoor light is most effective before mid-morning.";
    }
    if (!(input.logged > 0.0)) {
        if (input.morningBoostActive)
            return "Morning Boost is active. Get outside for even better circadian alignment.";
        return "Open your blinds or step outside \u2014 morning light resets your cortisol curve.";
    }
    return "Good start! " + format::integer(wholeNumber(input.target - input.logged)) +
           " more minutes to hit your target.";
}

std::string coachButtonTitle(int minutes) {
    return "+" + format::integer(minutes) + " min";
}

}  // namespace solvara::dashboard
