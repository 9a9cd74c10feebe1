#pragma once

#include "core/foundation/Date.h"
#include "core/solar/Coordinate.h"

namespace solvara {

// The sun's place in the sky by the NOAA solar-position equations, with the local clock and
// GMT offset read from the current time zone. Holds no state.
class SolarPositionCalculator {
public:
    struct SolarPosition {
        double elevation = 0.0;  // degrees above the horizon, geometric (no refraction)
        double azimuth = 0.0;    // degrees clockwise from north; NaN where acos leaves -1..1
        Date timestamp;
    };

    SolarPosition solarPosition(Coordinate coordinate, Date date) const;

private:
    static double julianDayNumber(Date date);
};

}  // namespace solvara
