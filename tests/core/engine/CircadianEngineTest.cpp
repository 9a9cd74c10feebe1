#include "core/engine/CircadianEngine.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "core/solar/SolarEvent.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {

// Reaches the private curve so that it can be read at exact elevations.
class CircadianEngineCurveAccess {
public:
    static std::int64_t curve(double elevation, bool isAscending, std::int64_t dayK = 6500,
                              std::int64_t nightK = 1800) {
        return CircadianEngine::targetColorTemperature(elevation, isAscending, dayK, nightK);
    }
    static double blend(TwilightPhase phase, double elevation) {
        return CircadianEngine::morningBoostBlendFactor(phase, elevation);
    }
};

namespace {

using Access = CircadianEngineCurveAccess;
using testing::ScopedTimeZone;

constexpr double justBelow30 = 29.99;

TEST(CircadianEngine, StartsWithTheDefaultSchedule) {
    const CircadianEngine engine;
    EXPECT_EQ(engine.wakeTime(), (CircadianEngine::TimeOfDay{7, 0}));
    EXPECT_EQ(engine.sleepTime(), (CircadianEngine::TimeOfDay{23, 0}));
    EXPECT_TRUE(engine.morningBoostEnabled());
    EXPECT_EQ(engine.dayKelvin(), 6500);
    EXPECT_EQ(engine.nightKelvin(), 1800);
}

TEST(CircadianEngine, CurveWithTheDefaultsAtBandEdges) {
    struct Row {
        double elevation;
        std::int64_t rising;
        std::int64_t setting;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Row
        rows[] =
            {
                {-90, 1800, 1800}, {-18.000001, 1800, 1800}, {-18, 1800, 1800},  // second band, s(0) = 0
                {-12, 2152, 2152}, {-6, 2505, 2505},         {-3, 2998, 2998},  {0, 3492, 3492},
                {5, 4996, 3985},   {10, 6500, 4479},         {20, 6265, 4714},  {justBelow30, 6030, 4948},
                {30, 5795, 5795},  // both branches jump to the midday value
                {60, 5795, 5795},  {nan, 5795, 5795},
            };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.elevation);
        EXPECT_EQ(Access::curve(row.elevation, true), row.rising);
        EXPECT_EQ(Access::curve(row.elevation, false), row.setting);
    }
}

TEST(CircadianEngine, CurveFollowsOtherDayAndNightValuesUnclamped) {
    // Day below night inverts the curve rather than being rejected.
    EXPECT_EQ(Access::curve(-30, true, 1800, 6500), 6500);
    EXPECT_EQ(Access::curve(45, true, 1800, 6500), 2505);
    EXPECT_EQ(Access::curve(10, true, 1800, 6500), 1800);
    EXPECT_EQ(Access::curve(45, false, 5000, 2000), 4550);
    EXPECT_EQ(Access::curve(0, false, 5000, 2000), 3080);
    // Hostile extremes saturate instead of converting out of range.
    const auto max = std::numeric_limits<std::int64_t>::max();
    const auto min = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(Access::curve(10, true, max, min), max);
    EXPECT_EQ(Access::curve(-30, true, max, min), min);
}

TEST(CircadianEngine, MorningBoostWeightsAtBandEdges) {
    struct Row {
        TwilightPhase phase;
        double elevation;
        double weight;
    };
    const Row rows[] = {
        {TwilightPhase::civilTwilight, -6, 0.0},
        {TwilightPhase::civilTwilight, -3, 0.25},
        {TwilightPhase::civilTwilight, 0, 0.5},
        {TwilightPhase::goldenHour, 0, 0.5},
        {TwilightPhase::goldenHour, 5, 0.75},
        {TwilightPhase::goldenHour, 10, 1.0},
        {TwilightPhase::goldenHour, -1, 0.5},
        {TwilightPhase::morningRise, 10, 1.0},
        {TwilightPhase::morningRise, 29, 1.0},
        {TwilightPhase::nauticalTwilight, -9, 0.0},
        {TwilightPhase::astronomicalTwilight, -15, 0.0},
        {TwilightPhase::eveningTwilight, -3, 0.0},
        {TwilightPhase::eveningGoldenHour, 5, 0.0},
        {TwilightPhase::solarNoon, 40, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.phase.rawValue()) + " " + std::to_string(row.elevation));
        EXPECT_DOUBLE_EQ(Access::blend(row.phase, row.elevation), row.weight);
    }
}

struct Place {
    const char* name;
    Coordinate coordinate;
    const char* zone;
};

const Place places[] = {
    {"New York", {40.7128, -74.006}, "America/New_York"},
    {"London", {51.5074, -0.1278}, "Europe/London"},
    {"Lord Howe Island", {-31.5553, 159.0821}, "Australia/Lord_Howe"},
    {"Kolkata", {22.5726, 88.3639}, "Asia/Kolkata"},
    {"Sao Paulo", {-23.5505, -46.6333}, "America/Sao_Paulo"},
};

CircadianEngine::TimeOfDay wallClock(Date date) {
    const DateComponents c = Calendar::localComponents(date);
    return {c.hour, c.minute};
}

// The boost window is 90 minutes either side of civil dawn, inclusive; wake times are whole
// minutes, so the last boosting minute is at most 90 minutes away and the next one is beyond.
TEST(CircadianEngine, MorningBoostWindowEdgesInEveryZone) {
    for (const Place& place : places) {
        for (int month : {3, 6, 9, 12}) {
            ScopedTimeZone zone(place.zone);
            SCOPED_TRACE(std::string(place.name) + " month " + std::to_string(month));
            const SolarEvent events = SolarEvent::events(*Calendar::date(2024, month, 10, 12, 0), place.coordinate);
            ASSERT_TRUE(events.civilDawn && events.sunrise);
            const Date dawn = *events.civilDawn;
            const Date lastLate = Date(std::floor((dawn + 90 * 60).secondsSinceReferenceDate / 60) * 60);
            const Date firstEarly = Date(std::ceil((dawn - 90 * 60).secondsSinceReferenceDate / 60) * 60);

            CircadianEngine engine;
            // Civil twilight, the golden hour and the morning rise all boost.
            for (double minutesAfterSunrise : {-10.0, 20.0, 90.0}) {
                const Date moment = *events.sunrise + minutesAfterSunrise * 60;
                engine.setMorningBoostEnabled(false);
                const auto plain = engine.currentState(place.coordinate, moment);
                engine.setMorningBoostEnabled(true);
                SCOPED_TRACE(std::string(plain.phase.rawValue()));
                ASSERT_TRUE(plain.phase == TwilightPhase::civilTwilight || plain.phase == TwilightPhase::goldenHour ||
                            plain.phase == TwilightPhase::morningRise);
                EXPECT_FALSE(plain.isMorningBoostActive);

                for (Date wake : {lastLate, firstEarly}) {
                    engine.setWakeTime(wallClock(wake));
                    const auto boosted = engine.currentState(place.coordinate, moment);
                    EXPECT_TRUE(boosted.isMorningBoostActive);
                    const double weight = Access::blend(plain.phase, plain.solarElevation);
                    EXPECT_EQ(
                        boosted.colorTemperature,
                        static_cast<std::int64_t>(plain.colorTemperature + (6500.0 - plain.colorTemperature) * weight));
                    EXPECT_GE(boosted.colorTemperature, plain.colorTemperature);
                    EXPECT_EQ(boosted.phase, plain.phase);
                }
                for (Date wake : {lastLate + 60, firstEarly - 60}) {
                    engine.setWakeTime(wallClock(wake));
                    const auto outside = engine.currentState(place.coordinate, moment);
                    EXPECT_FALSE(outside.isMorningBoostActive);
                    EXPECT_EQ(outside.colorTemperature, plain.colorTemperature);
                }
            }
        }
    }
}

TEST(CircadianEngine, NoBoostOutsideTheMorningPhases) {
    ScopedTimeZone zone("Europe/London");
    const Coordinate london{51.5074, -0.1278};
    const SolarEvent events = SolarEvent::events(*Calendar::date(2024, 9, 10, 12, 0), london);
    CircadianEngine engine;
    engine.setWakeTime(wallClock(*events.civilDawn));
    // Nautical twilight before dawn, the evening, and midday never boost.
    for (Date moment :
         {*events.civilDawn - 20 * 60, *events.sunset - 20 * 60, *events.sunset + 10 * 60, *events.solarNoon}) {
        const auto state = engine.currentState(london, moment);
        SCOPED_TRACE(std::string(state.phase.rawValue()));
        EXPECT_FALSE(state.isMorningBoostActive);
        EXPECT_EQ(state.colorTemperature, Access::curve(state.solarElevation, moment < *events.solarNoon));
    }
}

// Everything before the day's highest sample takes the rising branch, even the small hours
// when the sun is still sinking towards its lowest point.
TEST(CircadianEngine, SmallHoursCountAsRising) {
    ScopedTimeZone zone("Europe/London");
    const Coordinate london{51.5074, -0.1278};
    const CircadianEngine engine;
    const Date halfPastMidnight = *Calendar::date(2024, 6, 21, 0, 30);  // BST, the sun still sinking
    const auto state = engine.currentState(london, halfPastMidnight);
    EXPECT_GT(state.solarElevation, -18);
    EXPECT_LT(state.solarElevation, -12);
    EXPECT_EQ(state.phase, TwilightPhase::astronomicalTwilight);

    const Date halfPastTen = *Calendar::date(2024, 6, 21, 22, 30);
    const auto evening = engine.currentState(london, halfPastTen);
    EXPECT_EQ(evening.phase, TwilightPhase::night);
}

TEST(CircadianEngine, StateCarriesPhaseElevationMelanopicFactorAndTime) {
    ScopedTimeZone zone("Asia/Kolkata");
    const Coordinate kolkata{22.5726, 88.3639};
    CircadianEngine engine;
    struct Row {
        int hour;
        std::int64_t day;
        std::int64_t night;
        double melanopic;
    };
    // Fixed anchors: 1800 K and below is 0, 6500 K and above 1, whatever the user's values.
    const Row rows[] = {
        {1, 6500, 1800, 0.0},   // deep night: the night value
        {1, 6500, 1200, 0.0},   //
        {1, 6500, 2505, 0.15},  //
        {12, 9000, 1800, 1.0},  // midday: 9000 - 0.15 * 7200 = 7920
    };
    for (const Row& row : rows) {
        engine.setDayKelvin(row.day);
        engine.setNightKelvin(row.night);
        const Date moment = *Calendar::date(2024, 3, 20, row.hour, 0);
        const auto state = engine.currentState(kolkata, moment);
        SCOPED_TRACE(row.hour);
        EXPECT_EQ(state.timestamp, moment);
        EXPECT_NEAR(state.melanopicFactor, row.melanopic, 1e-12);
        if (row.hour == 1) {
            EXPECT_EQ(state.phase, TwilightPhase::astronomicalNight);
            EXPECT_EQ(state.colorTemperature, row.night);
        } else {
            EXPECT_EQ(state.phase, TwilightPhase::solarNoon);
            EXPECT_EQ(state.colorTemperature, 7920);
        }
    }
}

TEST(CircadianEngine, SleepTimeChangesNothing) {
    ScopedTimeZone zone("America/Sao_Paulo");
    const Coordinate saoPaulo{-23.5505, -46.6333};
    CircadianEngine engine;
    for (int hour = 0; hour < 24; hour += 2) {
        const Date moment = *Calendar::date(2024, 11, 5, hour, 15);
        engine.setSleepTime({23, 0});
        const auto before = engine.currentState(saoPaulo, moment);
        engine.setSleepTime({hour, 59});
        const auto after = engine.currentState(saoPaulo, moment);
        EXPECT_EQ(before.colorTemperature, after.colorTemperature);
        EXPECT_EQ(before.isMorningBoostActive, after.isMorningBoostActive);
    }
}

// With no coordinate the events have no solar noon and the elevation is NaN: the phase is
// midday and the value the midday one.
TEST(CircadianEngine, NotANumberElevationGivesTheMiddayValue) {
    const CircadianEngine engine;
    const auto state =
        engine.currentState({std::numeric_limits<double>::quiet_NaN(), 0}, *Calendar::date(2024, 1, 1, 8, 0));
    EXPECT_TRUE(std::isnan(state.solarElevation));
    EXPECT_EQ(state.phase, TwilightPhase::solarNoon);
    EXPECT_EQ(state.colorTemperature, 5795);
    EXPECT_FALSE(state.isMorningBoostActive);
}

// Each property is read and written whole under the lock: a reader never sees half a pair.
TEST(CircadianEngine, ScheduleWritesFromAnotherThreadAreNeverTorn) {
    CircadianEngine engine;
    engine.setWakeTime({0, 0});
    std::atomic<bool> done = false;
    int torn = 0;
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) engine.setWakeTime({i % 24, i % 24});
        done = true;
    });
    while (!done) {
        const auto wake = engine.wakeTime();
        if (wake.hour != wake.minute) ++torn;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
}

}  // namespace
}  // namespace solvara
