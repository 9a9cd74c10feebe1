#include "core/engine/SeasonalAwareness.h"

#include <cmath>
#include <cstdint>

#include "core/foundation/Format.h"
#include "core/solar/SolarEvent.h"

namespace solvara {

namespace {
constexpr double week = 604800;  // absolute seconds, not calendar days
}

double SeasonalAwareness::dayLength(Date date, Coordinate coordinate) {
    const SolarEvent events = SolarEvent::events(date, coordinate);
    if (events.sunrise && events.sunset) return (*events.sunset - *events.sunrise) / 3600;
    return 12.0;
}

double SeasonalAwareness::weeklyDayLengthChange(Date date, Coordinate coordinate) {
    // Sequenced on purpose: today first, so the week-old day is what stays in the event cache.
    const double today = dayLength(date, coordinate);
    return today - dayLength(date - week, coordinate);
}

std::optional<std::string> SeasonalAwareness::seasonalMessage(Date date, Coordinate coordinate) {
    const double change = weeklyDayLengthChange(date, coordinate);
    // A day length is 0..24 hours, so the minutes always fit.
    const auto minutes = static_cast<std::int64_t>(std::abs(change * 60));
    if (minutes < 5) return std::nullopt;
    if (change > 0) {
        return "Days are getting longer (+" + format::integer(minutes) +
               "min this week). Morning light arrives earlier.";
    }
    return "Days are getting shorter (-" + format::integer(minutes) +
           "min this week). Evening filtering starts earlier to protect your sleep.";
}

int SeasonalAwareness::eveningAdjustmentMinutes(Date date, Coordinate coordinate) {
    return -static_cast<int>(weeklyDayLengthChange(date, coordinate) * 60 * 0.5);
}

}  // namespace solvara
