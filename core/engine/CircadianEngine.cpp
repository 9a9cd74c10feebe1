#include "core/engine/CircadianEngine.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/foundation/Calendar.h"
#include "core/solar/SolarEvent.h"

namespace solvara {
namespace {

// The smoothstep on u clamped to 0..1; NaN clamps to 0.
double smoothstep(double u) {
    const double x = u > 0 ? std::min(u, 1.0) : 0.0;
    return x * x * (3 - (x + x));
}

// Drops the fraction. Kelvin values are a few thousand; the saturation only keeps hostile
// settings near the 64-bit limits from converting out of range (NaN, which the curve never
// produces, gives 0).
std::int64_t truncateToKelvin(double value) {
    if (!(value > -0x1p63)) return value < 0 ? std::numeric_limits<std::int64_t>::min() : 0;
    if (value >= 0x1p63) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(value);
}

}  // namespace

CircadianEngine::TimeOfDay CircadianEngine::wakeTime() const {
    std::lock_guard guard(lock);
    return wakeTime_;
}

void CircadianEngine::setWakeTime(TimeOfDay value) {
    std::lock_guard guard(lock);
    wakeTime_ = value;
}

CircadianEngine::TimeOfDay CircadianEngine::sleepTime() const {
    std::lock_guard guard(lock);
    return sleepTime_;
}

void CircadianEngine::setSleepTime(TimeOfDay value) {
    std::lock_guard guard(lock);
    sleepTime_ = value;
}

bool CircadianEngine::morningBoostEnabled() const {
    std::lock_guard guard(lock);
    return morningBoostEnabled_;
}

void CircadianEngine::setMorningBoostEnabled(bool value) {
    std::lock_guard guard(lock);
    morningBoostEnabled_ = value;
}

std::int64_t CircadianEngine::dayKelvin() const {
    std::lock_guard guard(lock);
    return dayKelvin_;
}

void CircadianEngine::setDayKelvin(std::int64_t value) {
    std::lock_guard guard(lock);
    dayKelvin_ = value;
}

std::int64_t CircadianEngine::nightKelvin() const {
    std::lock_guard guard(lock);
    return nightKelvin_;
}

void CircadianEngine::setNightKelvin(std::int64_t value) {
    std::lock_guard guard(lock);
    nightKelvin_ = value;
}

CircadianEngine::CircadianState CircadianEngine::currentState(Coordinate coordinate, Date date) const {
    TimeOfDay wake;
    bool boostEnabled = false;
    std::int64_t dayK = 0;
    std::int64_t nightK = 0;
    {
        // Held only for the copy, so a writer on another thread never waits for the sampling.
        std::lock_guard guard(lock);
        wake = wakeTime_;
        boostEnabled = morningBoostEnabled_;
        dayK = dayKelvin_;
        nightK = nightKelvin_;
    }

    const double elevation = solarCalculator.solarPosition(coordinate, date).elevation;
    const SolarEvent events = SolarEvent::events(date, coordinate);

    // Everything before the day's highest sample counts as rising, the small hours included.
    bool isAscending = false;
    if (events.solarNoon) {
        isAscending = date < *events.solarNoon;
    } else {
        isAscending = solarCalculator.solarPosition(coordinate, date - 1800).elevation < elevation;
    }

    const TwilightPhase phase = TwilightPhase::from(elevation, isAscending);
    std::int64_t kelvin = targetColorTemperature(elevation, isAscending, dayK, nightK);

    bool boostActive = false;
    const bool morningPhase = phase == TwilightPhase::civilTwilight || phase == TwilightPhase::goldenHour ||
                              phase == TwilightPhase::morningRise;
    if (boostEnabled && morningPhase && events.civilDawn) {
        const Date wakeInstant = Calendar::dateBySettingHour(wake.hour, wake.minute, 0, date).value_or(date);
        if (std::abs(*events.civilDawn - wakeInstant) / 60 <= 90) {
            const double weight = morningBoostBlendFactor(phase, elevation);
            kelvin = truncateToKelvin(static_cast<double>(kelvin) +
                                      (static_cast<double>(dayK) - static_cast<double>(kelvin)) * weight);
            boostActive = true;
        }
    }

    // Fixed anchors: the factor does not follow the user's night and day values.
    const double melanopic = std::clamp((static_cast<double>(kelvin) - 1800) / 4700, 0.0, 1.0);

    return CircadianState{kelvin, melanopic, phase, elevation, boostActive, date};
}

// Rising: N, K15 at -6, K36 at the horizon, D at 10 degrees, easing to D - 0.1R below 30.
// Setting: K57 + 0.1R below 30, K57 at 10, K36, K15 at -6, N at -18. Both jump to the midday
// value D - 0.15R at 30 degrees. The expressions keep their written form: the results are
// truncated, so a reordering can move a value by one kelvin.
std::int64_t CircadianEngine::targetColorTemperature(double elevation, bool isAscending, std::int64_t dayK,
                                                     std::int64_t nightK) {
    const double d = static_cast<double>(dayK);
    const double n = static_cast<double>(nightK);
    const double r = d - n;
    const double k15 = r * 0.15 + n;
    const double k36 = r * 0.36 + n;
    const double k57 = r * 0.57 + n;

    if (elevation < -18) return nightK;
    if (elevation < -6) return truncateToKelvin((r * 0.15 + n - n) * smoothstep((elevation + 18) / 12) + n);
    if (elevation < 0) {
        if (isAscending) return truncateToKelvin(k15 + (k36 - k15) * smoothstep((elevation + 6) / 6));
        return truncateToKelvin(k36 + smoothstep(elevation / -6) * (k15 - k36));
    }
    if (elevation < 10) {
        if (isAscending) return truncateToKelvin(k36 + smoothstep(elevation / 10) * (d - k36));
        return truncateToKelvin(k36 + smoothstep(elevation / 10) * (k57 - k36));
    }
    if (elevation < 30) {
        const double t = smoothstep((elevation - 10) / 20);
        if (isAscending) return truncateToKelvin((d - r * 0.1 - d) * t + d);
        return truncateToKelvin(k57 + t * ((r * 0.1 + k57) - k57));
    }
    return truncateToKelvin(d - r * 0.15);
}

double CircadianEngine::morningBoostBlendFactor(TwilightPhase phase, double elevation) {
    switch (phase) {
        case TwilightPhase::morningRise:
            return 1.0;
        case TwilightPhase::goldenHour:
            return smoothstep(elevation / 10) * 0.5 + 0.5;
        case TwilightPhase::civilTwilight:
            return smoothstep((elevation + 6) / 6) * 0.5;
        default:
            return 0.0;
    }
}

}  // namespace solvara
