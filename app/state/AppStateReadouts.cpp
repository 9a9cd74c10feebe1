// Values derived from the settings and the clock for the menu bar, the popover and the score.

#include <cmath>

#include "app/state/AppState.h"
#include "app/state/SettingRanges.h"
#include "core/color/MelanopicModel.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::int64_t minutesPerDay = 24 * 60;

DateComponents localNow() {
    return Calendar::localComponents(Clock::now());
}

std::int64_t minuteOfDay(const DateComponents& local) {
    return local.hour * 60 + local.minute;
}

std::int64_t minutesAt(std::int64_t hour, std::int64_t minute) {
    return saturatingAdd(saturatingMul(hour, 60), minute);
}

// "2h 5m" (hours only from 60 minutes on, unless `alwaysHours`).
std::string hoursAndMinutes(std::int64_t minutes, bool alwaysHours) {
    if (minutes >= 60 || alwaysHours) {
        return format::integer(minutes / 60) + "h " + format::integer(minutes % 60) + "m";
    }
    return format::integer(minutes) + "m";
}

// Truncates towards zero; a value that is not a number counts as 0.
std::int64_t truncated(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<std::int64_t>(std::trunc(value));
}

}  // namespace

std::int64_t AppState::effectiveWakeHour() const {
    const int weekday = localNow().weekday;  // 1 Sunday ... 7 Saturday
    if (weekendScheduleEnabled_ && (weekday == 7 || weekday == 1)) return weekendWakeHour_;
    return wakeHour_;
}

std::int64_t AppState::effectiveSleepHour() const {
    const int weekday = localNow().weekday;
    if (weekendScheduleEnabled_ && (weekday == 6 || weekday == 7)) return weekendSleepHour_;
    return sleepHour_;
}

bool AppState::isPostDLMO() const {
    return isInBiologicalNight(localNow().hour, effectiveSleepHour(), effectiveWakeHour());
}

bool AppState::isSleepTime() const {
    const std::int64_t s = effectiveSleepHour();
    const std::int64_t w = effectiveWakeHour();
    const std::int64_t hour = localNow().hour;
    if (w >= s) return hour >= s && hour < w;
    return hour >= s || hour < w;
}

std::optional<std::string> AppState::sleepCountdownText() const {
    if (!sleepAlarmEnabled_) return std::nullopt;
    std::int64_t d = saturatingAdd(minutesAt(effectiveSleepHour(), sleepMinute_), -minuteOfDay(localNow()));
    if (d < 0) d = saturatingAdd(d, minutesPerDay);
    if (d >= 961) return std::nullopt;  // more than 16 hours away
    return hoursAndMinutes(d, false) + " until bedtime";
}

std::optional<std::string> AppState::dlmoCountdownText() const {
    if (isPostDLMO()) return "Melatonin production active";
    const std::int64_t onset = floorMod(saturatingAdd(effectiveSleepHour(), -2), 24);
    std::int64_t d = onset * 60 - minuteOfDay(localNow());
    if (d < 0) d += minutesPerDay;
    if (d > 720) return std::nullopt;
    return "Melatonin window in " + hoursAndMinutes(d, false);
}

std::optional<std::string> AppState::sleepIfNowText() const {
    std::int64_t d = saturatingAdd(minutesAt(effectiveWakeHour(), wakeMinute_), -minuteOfDay(localNow()));
    if (d <= 0) d = saturatingAdd(d, minutesPerDay);
    if (d < 240 || d > 720) return std::nullopt;
    return "If you sleep now: " + hoursAndMinutes(d, true);
}

std::string AppState::menuBarIcon() const {
    if (!isEnabled_ || !currentState_) return "sun.max";
    switch (currentState_->phase) {
        case TwilightPhase::astronomicalNight:
        case TwilightPhase::night: return "moon.stars";
        case TwilightPhase::civilTwilight:
        case TwilightPhase::eveningTwilight: return "sunset";
        case TwilightPhase::goldenHour:
        case TwilightPhase::eveningGoldenHour: return "sun.horizon";
        case TwilightPhase::morningRise:
        case TwilightPhase::afternoonDecline: return "sun.min";
        case TwilightPhase::astronomicalTwilight:
        case TwilightPhase::nauticalTwilight:
        case TwilightPhase::solarNoon: return "sun.max";
    }
    return "sun.max";
}

double AppState::currentMelanopicEDI() const {
    if (!isEnabled_ || currentMode_ == DisplayMode::disabled) return 0.0;
    // The wanted kelvin, not the ramped one the update accounts.
    return MelanopicModel::melanopicEDI(effectiveKelvin(), 250.0, 60.0, 1500.0);
}

std::int64_t AppState::computeCurrentScore() const {
    const double breaks = breakScheduler_.complianceRatio() * 30.0;
    double debt = 5.0;
    if (lightDebtLevel_ == "low") {
        debt = 35.0;
    } else if (lightDebtLevel_ == "medium") {
        debt = 25.0;
    } else if (lightDebtLevel_ == "high") {
        debt = 15.0;
    }
    if (const auto average = healthHistory_.avgLightDebt(7)) {
        double bonus = 2.0;
        if (*average < 10.0) {
            bonus = 14.0;
        } else if (*average < 30.0) {
            bonus = 10.0;
        } else if (*average < 50.0) {
            bonus = 6.0;
        }
        debt = debt * 0.6 + bonus;
    }
    const std::int64_t score = truncated(breaks) + truncated(debt) + (morningBoostEnabled_ ? 25 : 15);
    return std::min<std::int64_t>(score, 100);
}

void AppState::logMorningSunlight(double minutes) {
    if (!std::isfinite(minutes) || minutes < 0) {
        Log::write("AppState", "Ignored a morning-sunlight log of " + format::fixed(minutes, 1) + " minutes");
        return;
    }
    notify(Property::morningSunlightToday, Notice::willChange);
    morningSunlightToday_ += minutes;
    notify(Property::morningSunlightToday, Notice::didChange);
    // 10 points per hour of sunlight, and a flat 5 with the morning boost.
    lightDebtCalculator_.recover(minutes, morningBoostEnabled_ ? 1.0 : 0.0);
    refreshLightDebtReadouts();
    persistSettings();
}

}  // namespace solvara
