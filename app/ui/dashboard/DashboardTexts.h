#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/foundation/Date.h"

namespace solvara::dashboard {

// The colours the dashboard's painters and labels name, resolved against the Theme by the view
// (so this header stays free of Qt).
enum class Tint { primary, secondary, red, orange, yellow, white, blue, green, indigo, purple };

// A floating-point value shown as a whole number: truncated toward zero; a value that is not a
// number shows 0 and one beyond the integer range its end.
std::int64_t wholeNumber(double value);

// "5200K": the whole kelvin followed by K, no space.
std::string kelvinText(std::int64_t kelvin);
// "-12.3°": one decimal, rounded.
std::string elevationText(double degrees);
// "73%": the factor × 100 truncated.
std::string percentText(double factor);
// "Low", "Very High": the first letter of each word upper case, the rest lower case.
std::string capitalizedWords(const std::string& text);

// "H:mm" (no leading zero) and "HH:mm" of a moment in the current time zone.
std::string hourMinuteText(Date date);
std::string paddedHourMinuteText(Date date);

// Hours since local midnight (fractional) as "1:15 PM"; hour and minute are truncated.
std::string previewTimeText(double hour);
// "Solar 41.0°", "Melanopic 73%".
std::string previewSolarText(double elevation);
std::string previewMelanopicText(double factor);
// The present moment's hour + minute / 60 (seconds ignored).
double hourFraction(Date date);
// Local midnight of `today` plus `hour` hours of elapsed time.
Date previewMoment(Date today, double hour);

// Whether the morning coach belongs on the dashboard at `hour`: from the wake hour for three
// hours, not wrapping past midnight.
bool coachVisible(std::int64_t effectiveWakeHour, int hour);

}  // namespace solvara::dashboard
