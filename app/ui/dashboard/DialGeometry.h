#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "app/ui/dashboard/DashboardTexts.h"
#include "core/foundation/Date.h"
#include "core/solar/SolarEvent.h"

namespace solvara::dashboard {

struct DialPoint {
    double x = 0.0;
    double y = 0.0;
};

// A clockwise stretch of the dial from `start` to `end` (dial degrees, 0 at the top), end > start.
struct DialArc {
    double start = 0.0;
    double end = 0.0;

    // The same stretch in QPainterPath::arcTo terms: degrees counter-clockwise from 3 o'clock,
    // and a negative sweep for clockwise.
    double qtStartDegrees() const { return 90.0 - start; }
    double qtSweepDegrees() const { return -(end - start); }
};

// One colour stop of a gradient: a named colour at an opacity, at `position` in 0..1.
struct GradientStop {
    double position = 0.0;
    Tint tint = Tint::orange;
    double opacity = 1.0;
};

// The arcs of today's twilight and daylight; each is empty when an event it needs is missing or
// when it would run backwards over midnight.
struct DialArcs {
    std::optional<DialArc> morningTwilight;
    std::optional<DialArc> daylight;
    std::optional<DialArc> eveningTwilight;
};

// The 24-hour dial in the dial's own frame (origin top left, y down): midnight at the top,
// time running clockwise.
class DialGeometry {
public:
    explicit DialGeometry(double clockSize) : clockSize_(clockSize) {}

    double side() const { return clockSize_ + 50.0; }
    double radius() const { return clockSize_ / 2.0; }
    DialPoint center() const { return {radius() + 25.0, radius() + 25.0}; }
    // The point at dial angle `angle` (degrees) and distance `rho` from the centre.
    DialPoint point(double angle, double rho) const;

    double tickInnerRadius(bool major) const { return radius() - (major ? 8.0 : 4.0); }
    double hourLabelRadius() const { return radius() + 18.0; }
    double markerRadius() const { return radius() + 2.0; }
    double markerTimeRadius() const { return radius() - 18.0; }
    double handRadius() const { return radius() - 15.0; }

private:
    double clockSize_;
};

// Degrees for a time of day: (hour × 60 + minute) / 1440 × 360, seconds ignored.
double dialAngle(int hour, int minute);
double dialAngle(Date date);
// Degrees of the whole hour h (0..23).
inline double hourAngle(int hour) {
    return hour / 24.0 * 360.0;
}
inline bool isMajorHour(int hour) {
    return hour % 6 == 0;
}

// The arc from one moment to another on the same dial; empty when either is missing or the
// end does not lie after the start.
std::optional<DialArc> dialArc(const std::optional<Date>& from, const std::optional<Date>& to);
DialArcs dialArcs(const SolarEvent& events);

// The daylight arc's four evenly spaced stops: orange 0.3, yellow 0.35, yellow 0.35, orange 0.3.
const std::array<GradientStop, 4>& daylightStops();
// The same stops laid out for a conical gradient centred on the dial whose angle is the arc's
// end (Qt's conical gradients run counter-clockwise): ascending positions in 0..1.
std::array<GradientStop, 4> daylightConicalStops(const DialArc& arc);

// The colour band of a colour temperature: red to 2000, orange to 3000, yellow to 4500, white
// to 5500, blue above.
Tint kelvinBand(std::int64_t kelvin);

}  // namespace solvara::dashboard
