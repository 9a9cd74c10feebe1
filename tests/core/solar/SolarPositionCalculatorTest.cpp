#include "core/solar/SolarPositionCalculator.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

using testing::ScopedTimeZone;

Date utc(int year, int month, int day, int hour, int minute) {
    ScopedTimeZone zone("UTC");
    return *Calendar::date(year, month, day, hour, minute);
}

SolarPositionCalculator::SolarPosition positionIn(const char* zone, Coordinate place, Date instant) {
    ScopedTimeZone scoped(zone);
    return SolarPositionCalculator().solarPosition(place, instant);
}

// Geometric positions of the sun's centre from an independent ephemeris (no refraction). The
// zone changes the local clock and the offset together; the instant's position stays.
TEST(SolarPositionCalculator, MatchesAnEphemerisInEveryZone) {
    const struct {
        Coordinate place;
        Date instant;
        double elevation, azimuth;
    } rows[] = {
        {{40.7128, -74.006}, utc(2024, 6, 21, 16, 0), 68.866, 140.434},
        {{51.5074, -0.1278}, utc(2024, 12, 21, 12, 0), 15.051, 180.284},
        {{-33.8688, 151.2093}, utc(2024, 3, 1, 2, 30), 63.065, 347.577},
        {{69.6492, 18.9553}, utc(2024, 6, 21, 23, 0), 3.114, 3.17},
        {{-23.5505, -46.6333}, utc(2019, 2, 16, 21, 0), 9.486, 260.739},
        {{22.5726, 88.3639}, utc(2024, 9, 1, 3, 15), 46.397, 102.389},
    };
    for (const char* zone : {"UTC", "America/New_York", "Europe/London", "Asia/Kolkata", "America/Sao_Paulo"}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(zone) + " " + std::to_string(row.place.latitude));
            const auto position = positionIn(zone, row.place, row.instant);
            EXPECT_NEAR(position.elevation, row.elevation, 0.05);
            // Either azimuth branch: an unwrapped hour angle mirrors it (see the next test).
            EXPECT_LT(
                std::fmin(std::fabs(position.azimuth - row.azimuth), std::fabs(360 - position.azimuth - row.azimuth)),
                0.1)
                << position.azimuth;
            EXPECT_EQ(position.timestamp, row.instant);
        }
    }
}

// The hour angle comes from the local clock and is not wrapped: where the local day runs a
// full day ahead of the sun, the azimuth takes the 540 - a branch and comes out mirrored.
TEST(SolarPositionCalculator, UnwrappedHourAngleMirrorsTheAzimuthButNotTheElevation) {
    const Coordinate greenwich{51.4779, 0.0};
    const Date lateEvening = utc(2024, 6, 21, 20, 0);
    const auto inUtc = positionIn("UTC", greenwich, lateEvening);
    const auto inTokyo = positionIn("Asia/Tokyo", greenwich, lateEvening);  // 05:00 the next day there
    EXPECT_NEAR(inUtc.elevation, inTokyo.elevation, 1e-9);
    EXPECT_GT(inUtc.azimuth, 180);  // the evening sun, north of west
    EXPECT_NEAR(inTokyo.azimuth, 360 - inUtc.azimuth, 1e-9);
}

// cos(90 degrees) is 6e-17, not 0: at a pole the acos argument is rounding noise over almost
// nothing and often leaves -1..1. The azimuth is then NaN; the elevation, the declination (about
// +-23.44 at the solstice), never is.
TEST(SolarPositionCalculator, AzimuthMayBeNotANumberAtThePolesWhileElevationIsFinite) {
    for (double latitude : {90.0, -90.0}) {
        int notANumber = 0;
        for (int minute = 0; minute < 1440; minute += 5) {
            const auto position = positionIn("UTC", {latitude, 0}, utc(2024, 6, 21, 0, 0) + minute * 60.0);
            EXPECT_NEAR(position.elevation, latitude > 0 ? 23.44 : -23.44, 0.05);
            notANumber += std::isnan(position.azimuth);
            EXPECT_FALSE(position.azimuth < 0 || position.azimuth >= 360) << position.azimuth;
        }
        EXPECT_GT(notANumber, 0) << latitude;
    }
}

}  // namespace
}  // namespace solvara
