#include "app/ui/dashboard/DialGeometry.h"

#include <cmath>
#include <numbers>

#include "core/foundation/Calendar.h"

namespace solvara::dashboard {

DialPoint DialGeometry::point(double angle, double rho) const {
    const double theta = (angle - 90.0) * std::numbers::pi / 180.0;
    const DialPoint c = center();
    return {c.x + rho * std::cos(theta), c.y + rho * std::sin(theta)};
}

double dialAngle(int hour, int minute) {
    return (hour * 60 + minute) / 1440.0 * 360.0;
}

double dialAngle(Date date) {
    const DateComponents local = Calendar::localComponents(date);
    return dialAngle(local.hour, local.minute);
}

std::optional<DialArc> dialArc(const std::optional<Date>& from, const std::optional<Date>& to) {
    if (!from || !to) return std::nullopt;
    const DialArc arc{dialAngle(*from), dialAngle(*to)};
    if (!(arc.end > arc.start)) return std::nullopt;
    return arc;
}

DialArcs dialArcs(const SolarEvent& events) {
    return {dialArc(events.civilDawn, events.sunrise), dialArc(events.sunrise, events.sunset),
            dialArc(events.sunset, events.civilDusk)};
}

const std::array<GradientStop, 4>& daylightStops() {
    static const std::array<GradientStop, 4> stops{{
        {0.0, Tint::orange, 0.3},
        {1.0 / 3.0, Tint::yellow, 0.35},
        {2.0 / 3.0, Tint::yellow, 0.35},
        {1.0, Tint::orange, 0.3},
    }};
    return stops;
}

std::array<GradientStop, 4> daylightConicalStops(const DialArc& arc) {
    // Counter-clockwise from the arc's end, position p lies at dial angle end − p × 360, so the
    // arc's own position t (0 at its start) maps to p = span / 360 × (1 − t).
    const double span = (arc.end - arc.start) / 360.0;
    std::array<GradientStop, 4> stops = daylightStops();
    std::array<GradientStop, 4> conical{};
    for (std::size_t i = 0; i < stops.size(); ++i) {
        GradientStop stop = stops[stops.size() - 1 - i];
        stop.position = span * (1.0 - stop.position);
        conical[i] = stop;
    }
    return conical;
}

Tint kelvinBand(std::int64_t kelvin) {
    if (kelvin <= 2000) return Tint::red;
    if (kelvin <= 3000) return Tint::orange;
    if (kelvin <= 4500) return Tint::yellow;
    if (kelvin <= 5500) return Tint::white;
    return Tint::blue;
}

}  // namespace solvara::dashboard
