#pragma once

#include <optional>
#include <string>

#include "core/foundation/Date.h"
#include "core/solar/Coordinate.h"

namespace solvara {

// How the length of the day changes from one week to the next, and the advice it calls for.
// Every operation samples two days, so the one-entry solar-event cache never serves them and
// is left holding the earlier day.
class SeasonalAwareness {
public:
    // Hours from sunrise to sunset of the local day containing `date`; 12 when the day has no
    // sunrise or no sunset (polar day and night included).
    static double dayLength(Date date, Coordinate coordinate);
    // Today's day length minus that of the instant exactly 7 × 24 hours earlier, in hours.
    static double weeklyDayLengthChange(Date date, Coordinate coordinate);
    // Empty when the change is under 5 whole minutes.
    static std::optional<std::string> seasonalMessage(Date date, Coordinate coordinate);
    // Half the weekly change in whole minutes, negated.
    static int eveningAdjustmentMinutes(Date date, Coordinate coordinate);
};

}  // namespace solvara
