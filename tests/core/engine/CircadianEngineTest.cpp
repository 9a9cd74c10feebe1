#include "core/engine/CircadianEngine.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "core/solar/SolarEvent.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {

// Reaches the private curve so that it can be read at exact elevations.
class CircadianEngineCurveAccess {
public:
    static std::int64_t curve(double elevation, bool isAscending, std::int64_t dayK, std::int64_t nightK) {
        return CircadianEngine::targetColorTemperature(elevation, isAscending, dayK, nightK);
    }
    static double blend(TwilightPhase phase, double elevation) {
        return CircadianEngine::morningBoostBlendFactor(phase, elevation);
    }
};

namespace {

using Access = CircadianEngineCurveAccess;
using testing::ScopedTimeZone;

const double nan = std::numeric_limits<double>::quiet_NaN();

// Band edges with the default 6500/1800 K, then other values: day below night inverts the curve
// rather than being rejected.
TEST(CircadianEngine, CurveAtBandEdges) {
    const struct {
        double elevation;
        std::int64_t day, night, rising, setting;
    } rows[] = {
        {-90, 6500, 1800, 1800, 1800}, {-18.000001, 6500, 1800, 1800, 1800}, {-18, 6500, 1800, 1800, 1800},
        {-12, 6500, 1800, 2152, 2152}, {-6, 6500, 1800, 2505, 2505},         {-3, 6500, 1800, 2998, 2998},
        {0, 6500, 1800, 3492, 3492},   {5, 6500, 1800, 4996, 3985},          {10, 6500, 1800, 6500, 4479},
        {20, 6500, 1800, 6265, 4714},  {29.99, 6500, 1800, 6030, 4948},      {30, 6500, 1800, 5795, 5795},
        {nan, 6500, 1800, 5795, 5795}, {-30, 1800, 6500, 6500, 6500},        {10, 1800, 6500, 1800, 3821},
        {45, 1800, 6500, 2505, 2505},  {0, 5000, 2000, 3080, 3080},          {45, 5000, 2000, 4550, 4550},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.elevation) + " " + std::to_string(row.day) + "/" + std::to_string(row.night));
        EXPECT_EQ(Access::curve(row.elevation, true, row.day, row.night), row.rising);
        EXPECT_EQ(Access::curve(row.elevation, false, row.day, row.night), row.setting);
    }
    // A hostile day value saturates instead of converting out of range.
    const auto max = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(Access::curve(10, true, max, std::numeric_limits<std::int64_t>::min()), max);
}

TEST(CircadianEngine, MorningBoostWeightsAtBandEdges) {
    const struct {
        TwilightPhase phase;
        double elevation, weight;
    } rows[] = {
        {TwilightPhase::civilTwilight, -6, 0.0},    {TwilightPhase::civilTwilight, -3, 0.25},
        {TwilightPhase::civilTwilight, 0, 0.5},     {TwilightPhase::goldenHour, 0, 0.5},
        {TwilightPhase::goldenHour, 5, 0.75},       {TwilightPhase::goldenHour, 10, 1.0},
        {TwilightPhase::goldenHour, -1, 0.5},       {TwilightPhase::morningRise, 29, 1.0},
        {TwilightPhase::nauticalTwilight, -9, 0.0}, {TwilightPhase::eveningTwilight, -3, 0.0},
        {TwilightPhase::eveningGoldenHour, 5, 0.0}, {TwilightPhase::solarNoon, 40, 0.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.phase.rawValue()) + " " + std::to_string(row.elevation));
        EXPECT_DOUBLE_EQ(Access::blend(row.phase, row.elevation), row.weight);
    }
}

CircadianEngine::TimeOfDay wallClock(Date date) {
    const DateComponents c = Calendar::localComponents(date);
    return {c.hour, c.minute};
}

// The boost window is 90 minutes either side of civil dawn, inclusive; wake times are whole
// minutes, so the last boosting minute is at most 90 minutes away and the next one beyond. It
// lifts civil twilight and the golden hour part of the way to the day value, the morning rise
// all the way, and nothing else.
TEST(CircadianEngine, MorningBoostWindowEdgesInEveryZone) {
    const struct {
        const char* zone;
        Coordinate coordinate;
    } places[] = {
        {"America/New_York", {40.7128, -74.006}},      {"Europe/London", {51.5074, -0.1278}},
        {"Australia/Lord_Howe", {-31.5553, 159.0821}}, {"Asia/Kolkata", {22.5726, 88.3639}},
        {"America/Sao_Paulo", {-23.5505, -46.6333}},
    };
    for (const auto& place : places) {
        for (int month : {3, 6, 9, 12}) {
            ScopedTimeZone zone(place.zone);
            SCOPED_TRACE(std::string(place.zone) + " month " + std::to_string(month));
            const SolarEvent events = SolarEvent::events(*Calendar::date(2024, month, 10, 12, 0), place.coordinate);
            const Date dawn = *events.civilDawn;
            const Date lastLate = Date(std::floor((dawn + 5400).secondsSinceReferenceDate / 60) * 60);
            const Date firstEarly = Date(std::ceil((dawn - 5400).secondsSinceReferenceDate / 60) * 60);

            CircadianEngine engine;  // boost on by default
            for (double minutesAfterSunrise : {-10.0, 20.0, 90.0}) {
                const Date moment = *events.sunrise + minutesAfterSunrise * 60;
                engine.setWakeTime(wallClock(lastLate + 60));
                const auto plain = engine.currentState(place.coordinate, moment);
                SCOPED_TRACE(std::string(plain.phase.rawValue()));
                EXPECT_FALSE(plain.isMorningBoostActive);
                engine.setWakeTime(wallClock(firstEarly - 60));
                EXPECT_FALSE(engine.currentState(place.coordinate, moment).isMorningBoostActive);

                for (Date wake : {lastLate, firstEarly}) {
                    engine.setWakeTime(wallClock(wake));
                    const auto boosted = engine.currentState(place.coordinate, moment);
                    EXPECT_TRUE(boosted.isMorningBoostActive);
                    EXPECT_EQ(boosted.phase, plain.phase);
                    if (plain.phase == TwilightPhase::morningRise) {
                        EXPECT_EQ(boosted.colorTemperature, 6500);
                    } else {
                        EXPECT_GT(boosted.colorTemperature, plain.colorTemperature);
                        EXPECT_LT(boosted.colorTemperature, 6500);
                    }
                    engine.setMorningBoostEnabled(false);
                    EXPECT_EQ(engine.currentState(place.coordinate, moment).colorTemperature, plain.colorTemperature);
                    engine.setMorningBoostEnabled(true);
                }
            }
            // Nautical twilight before dawn, the evening and midday never boost.
            engine.setWakeTime(wallClock(dawn));
            for (Date moment :
                 {dawn - 20 * 60, *events.sunset - 20 * 60, *events.sunset + 10 * 60, *events.solarNoon}) {
                EXPECT_FALSE(engine.currentState(place.coordinate, moment).isMorningBoostActive) << moment - dawn;
            }
        }
    }
}

// Everything before the day's highest sample takes the rising branch, even the small hours when
// the sun is still sinking (London at half past midnight). With a coordinate that is not a
// number there is no solar noon and the elevation is NaN: midday. The melanopic factor has fixed
// anchors, 1800 K and below 0, 6500 K and above 1, whatever the user's night and day values.
TEST(CircadianEngine, StatePhaseKelvinAndMelanopicFactor) {
    const Coordinate kolkata{22.5726, 88.3639};
    const Coordinate london{51.5074, -0.1278};
    const struct {
        const char* zone;
        Coordinate place;
        int month, day, hour, minute;
        std::int64_t dayK, nightK;
        TwilightPhase phase;
        std::optional<std::int64_t> kelvin;
        std::optional<double> melanopic;
    } rows[] = {
        {"Asia/Kolkata", kolkata, 3, 20, 1, 0, 6500, 1800, TwilightPhase::astronomicalNight, 1800, 0.0},
        {"Asia/Kolkata", kolkata, 3, 20, 1, 0, 6500, 1200, TwilightPhase::astronomicalNight, 1200, 0.0},
        {"Asia/Kolkata", kolkata, 3, 20, 1, 0, 6500, 2505, TwilightPhase::astronomicalNight, 2505, 0.15},
        {"Asia/Kolkata", kolkata, 3, 20, 12, 0, 9000, 1800, TwilightPhase::solarNoon, 7920, 1.0},  // 9000 - 0.15 * 7200
        {"Europe/London", london, 6, 21, 0, 30, 6500, 1800, TwilightPhase::astronomicalTwilight, std::nullopt,
         std::nullopt},
        {"Europe/London", london, 6, 21, 22, 30, 6500, 1800, TwilightPhase::night, std::nullopt, std::nullopt},
        {"UTC", {nan, 0}, 1, 1, 8, 0, 6500, 1800, TwilightPhase::solarNoon, 5795, 0.85},
    };
    for (const auto& row : rows) {
        ScopedTimeZone zone(row.zone);
        CircadianEngine engine;
        engine.setDayKelvin(row.dayK);
        engine.setNightKelvin(row.nightK);
        const Date moment = *Calendar::date(2024, row.month, row.day, row.hour, row.minute);
        const auto state = engine.currentState(row.place, moment);
        SCOPED_TRACE(std::string(row.zone) + " " + std::to_string(row.hour) + " " +
                     std::to_string(state.solarElevation));
        EXPECT_EQ(state.phase, row.phase);
        EXPECT_EQ(state.colorTemperature, row.kelvin.value_or(state.colorTemperature));
        EXPECT_NEAR(state.melanopicFactor, row.melanopic.value_or(state.melanopicFactor), 1e-12);
        EXPECT_FALSE(state.isMorningBoostActive);
    }
}

}  // namespace
}  // namespace solvara
