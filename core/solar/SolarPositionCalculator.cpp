#include "core/solar/SolarPositionCalculator.h"

#include <cmath>

#include "core/foundation/Calendar.h"

namespace solvara {
namespace {

constexpr double pi = 3.141592653589793;

double rad(double degrees) {
    return degrees * pi / 180;
}
double deg(double radians) {
    return radians * 180 / pi;
}

}  // namespace

// Meeus' calendar-to-Julian-day formula on the UTC fields, whole seconds.
double SolarPositionCalculator::julianDayNumber(Date date) {
    const DateComponents utc = Calendar::utcComponents(date);
    double year = utc.year;
    double month = utc.month;
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const double a = std::floor(year / 100);
    const double b = 2 - a + std::floor(a / 4);
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + utc.day + b - 1524.5 +
           (utc.hour + utc.minute / 60.0 + utc.second / 3600.0) / 24;
}

// The NOAA equations in the low-precision form the rest of the program is tuned to: keep the
// order of operations, the unreduced mean anomaly and the unwrapped hour angle.
SolarPositionCalculator::SolarPosition SolarPositionCalculator::solarPosition(Coordinate coordinate, Date date) const {
    const DateComponents local = Calendar::localComponents(date);
    const double hours = local.hour + local.minute / 60.0 + local.second / 3600.0;

    const double t = (julianDayNumber(date) - 2451545) / 36525;
    const double l0 = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360);
    const double m = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double e = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double c = std::sin(rad(m)) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                     std::sin(rad(2 * m)) * (0.019993 - 0.000101 * t) + std::sin(rad(3 * m)) * 0.000289;
    const double omega = 125.04 - 1934.136 * t;
    const double lambda = l0 + c - 0.00569 - 0.00478 * std::sin(rad(omega));
    const double eps0 = 23 + (26 + (21.448 - t * (46.815 + t * (0.00059 - 0.001813 * t))) / 60) / 60;
    const double eps = eps0 + 0.00256 * std::cos(rad(omega));
    const double delta = deg(std::asin(std::sin(rad(eps)) * std::sin(rad(lambda))));

    const double y = std::tan(rad(eps / 2)) * std::tan(rad(eps / 2));
    const double eqTime = 4 * deg(y * std::sin(rad(2 * l0)) - 2 * e * std::sin(rad(m)) +
                                  4 * e * y * std::sin(rad(m)) * std::cos(rad(2 * l0)) -
                                  0.5 * y * y * std::sin(rad(4 * l0)) - 1.25 * e * e * std::sin(rad(2 * m)));

    const double zoneMinutes = Calendar::secondsFromGMT(date) * 60.0 / 3600.0;
    const double timeOffset = eqTime + 4 * coordinate.longitude - zoneMinutes;
    // Not wrapped into -180..180: cos() does not care, and the azimuth branch below relies on it.
    const double hourAngle = (hours * 60 + timeOffset) / 4 - 180;

    const double phi = rad(coordinate.latitude);
    const double elevation = deg(std::asin(std::sin(phi) * std::sin(rad(delta)) +
                                           std::cos(phi) * std::cos(rad(delta)) * std::cos(rad(hourAngle))));

    // No clamping: at the zenith or the poles the argument leaves -1..1 and the azimuth is NaN.
    const double zenith = 90 - elevation;
    const double a = deg(std::acos((std::sin(phi) * std::cos(rad(zenith)) - std::sin(rad(delta))) /
                                   (std::cos(phi) * std::sin(rad(zenith)))));
    const double azimuth = hourAngle > 0 ? std::fmod(a + 180, 360) : std::fmod(540 - a, 360);

    return SolarPosition{elevation, azimuth, date};
}

}  // namespace solvara
