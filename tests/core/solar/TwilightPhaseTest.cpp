#include "core/solar/TwilightPhase.h"

#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace solvara {
namespace {

using P = TwilightPhase;

// Each bound and just under it: a bound belongs to the band above.
TEST(TwilightPhase, ClassifiesEachBoundIntoTheBandAbove) {
    const double below = -1e-9;
    const struct {
        double elevation;
        TwilightPhase rising, setting;
    } rows[] = {
        {-18 + below, P::astronomicalNight, P::astronomicalNight},
        {-18, P::astronomicalTwilight, P::night},
        {-12 + below, P::astronomicalTwilight, P::night},
        {-12, P::nauticalTwilight, P::night},
        {-6 + below, P::nauticalTwilight, P::night},
        {-6, P::civilTwilight, P::eveningTwilight},
        {below, P::civilTwilight, P::eveningTwilight},
        {0, P::goldenHour, P::eveningGoldenHour},
        {10 + below, P::goldenHour, P::eveningGoldenHour},
        {10, P::morningRise, P::afternoonDecline},
        {30 + below * 10, P::morningRise, P::afternoonDecline},
        {30, P::solarNoon, P::solarNoon},
        {std::numeric_limits<double>::quiet_NaN(), P::solarNoon, P::solarNoon},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.elevation);
        EXPECT_EQ(P::from(row.elevation, true), row.rising);
        EXPECT_EQ(P::from(row.elevation, false), row.setting);
    }
}

TEST(TwilightPhase, RawValuesAndDisplayNamesInDeclarationOrder) {
    std::string names;
    for (const TwilightPhase phase : P::allCases) {
        names += std::string(phase.rawValue()) + "=" + std::string(phase.displayName()) + ";";
        EXPECT_EQ(P::fromRawValue(phase.rawValue()), phase);
    }
    EXPECT_EQ(names,
              "astronomicalNight=Deep Night;astronomicalTwilight=Early Dawn;nauticalTwilight=Dawn;"
              "civilTwilight=Civil Twilight;goldenHour=Morning Golden Hour;morningRise=Morning;solarNoon=Midday;"
              "afternoonDecline=Afternoon;eveningGoldenHour=Evening Golden Hour;eveningTwilight=Evening Twilight;"
              "night=Night;");
    for (const char* text : {"GoldenHour", "Morning Golden Hour", "goldenHour ", ""}) {
        EXPECT_FALSE(P::fromRawValue(text).has_value()) << text;
    }
}

}  // namespace
}  // namespace solvara
