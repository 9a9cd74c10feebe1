#include "app/ui/dashboard/DashboardTexts.h"

#include <cctype>
#include <cmath>
#include <limits>

#include "core/foundation/Calendar.h"
#include "core/foundation/Format.h"

namespace solvara::dashboard {

std::int64_t wholeNumber(double value) {
    if (std::isnan(value)) return 0;
    constexpr double limit = 9.2e18;  // inside the int64 range, so the cast is defined
    if (value >= limit) return std::numeric_limits<std::int64_t>::max();
    if (value <= -limit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

std::string kelvinText(std::int64_t kelvin) {
    return format::integer(kelvin) + "K";
}

std::string elevationText(double degrees) {
    return format::fixed(degrees, 1) + "\u00B0";
}

std::string percentText(double factor) {
    return format::integer(wholeNumber(factor * 100.0)) + "%";
}

std::string capitalizedWords(const std::string& text) {
    std::string result = text;
    bool wordStart = true;
    for (char& c : result) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isspace(byte)) {
            wordStart = true;
            continue;
        }
        if (byte < 0x80) c = static_cast<char>(wordStart ? std::toupper(byte) : std::tolower(byte));
        wordStart = false;
    }
    return result;
}

namespace {

std::string twoDigits(int value) {
    return (value < 10 ? "0" : "") + format::integer(value);
}

}  // namespace

std::string hourMinuteText(Date date) {
    const DateComponents local = Calendar::localComponents(date);
    return format::integer(local.hour) + ":" + twoDigits(local.minute);
}

std::string paddedHourMinuteText(Date date) {
    const DateComponents local = Calendar::localComponents(date);
    return twoDigits(local.hour) + ":" + twoDigits(local.minute);
}

std::string previewTimeText(double hour) {
    const std::int64_t h = wholeNumber(hour);
    const std::int64_t m = wholeNumber((hour - static_cast<double>(h)) * 60.0);
    const std::int64_t shown = h % 12 == 0 ? 12 : h % 12;
    return format::integer(shown) + ":" + twoDigits(static_cast<int>(m)) + (h < 12 ? " AM" : " PM");
}

std::string previewSolarText(double elevation) {
    return "Solar " + elevationText(elevation);
}

std::string previewMelanopicText(double factor) {
    return "Melanopic " + percentText(factor);
}

double hourFraction(Date date) {
    const DateComponents local = Calendar::localComponents(date);
    return local.hour + local.minute / 60.0;
}

Date previewMoment(Date today, double hour) {
    return Calendar::startOfDay(today) + hour * 3600.0;
}

bool coachVisible(std::int64_t effectiveWakeHour, int hour) {
    return effectiveWakeHour <= hour && hour < effectiveWakeHour + 3;
}

}  // namespace solvara::dashboard
