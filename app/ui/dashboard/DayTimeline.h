#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Date.h"
#include "core/solar/Coordinate.h"
#include "core/solar/TwilightPhase.h"

namespace solvara::dashboard {

// An sRGB colour with opacity, as factors from 0 to 1.
struct Rgba {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double opacity = 1.0;

    constexpr bool operator==(const Rgba&) const = default;
};

// One run of equal phase on the day strip.
struct PhaseSegment {
    std::string phase;  // the phase's raw value, or "unknown" without a coordinate
    int minutes = 0;    // a multiple of 15
    Rgba color;

    double fraction() const { return minutes / 1440.0; }

    bool operator==(const PhaseSegment&) const = default;
};

// The colour of a phase on the strip; the night phases share one, as do each morning and
// evening pair.
Rgba phaseColor(TwilightPhase phase);

// Today's phases as runs of the 96 quarter hours from local midnight (elapsed time), the sun
// counting as rising before the day's solar noon. Without a coordinate one grey run of the
// whole day. The minutes always add up to 1440.
std::vector<PhaseSegment> phaseSegments(const std::optional<Coordinate>& coordinate, Date now);

// (hour × 60 + minute) / 1440 of the present moment, seconds ignored: 0 at midnight, below 1.
double dayFraction(Date now);

// The strip's time labels between "00:00" and "24:00", each present only when the day has the
// event (and never without a coordinate).
struct TimelineLabels {
    std::optional<std::string> sunrise;
    std::optional<std::string> solarNoon;
    std::optional<std::string> sunset;
};
TimelineLabels timelineLabels(const std::optional<Coordinate>& coordinate, Date now);

}  // namespace solvara::dashboard
