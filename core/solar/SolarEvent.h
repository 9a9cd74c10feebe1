#pragma once

#include <optional>
#include <string>

#include "core/foundation/Date.h"
#include "core/solar/Coordinate.h"

namespace solvara {

// The solar events of one local calendar day, found by sampling the sun every 10 minutes from
// the start of the day and refining each crossing by bisection. An event the day does not
// have (polar day and night, a sun that never reaches the horizon) is empty.
struct SolarEvent {
    Date date;  // the moment asked for by the call that computed this record
    std::optional<Date> civilDawn;
    std::optional<Date> sunrise;
    std::optional<Date> solarNoon;
    std::optional<Date> sunset;
    std::optional<Date> civilDusk;

    // The events of the local day containing `date`. The last record is kept in a one-entry
    // process-wide cache keyed by the start of day and the coordinate truncated to hundredths
    // of a degree; the cache has no lock, so call from one thread at a time.
    static SolarEvent events(Date date, Coordinate coordinate);

private:
    static SolarEvent compute(Date startOfDay, Date date, Coordinate coordinate);

    static std::optional<SolarEvent> cachedEvent;
    static std::optional<std::string> cachedDateKey;
    static std::optional<std::string> cachedCoordKey;
};

}  // namespace solvara
