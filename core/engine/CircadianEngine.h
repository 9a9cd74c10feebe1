#pragma once

#include <cstdint>
#include <mutex>

#include "core/foundation/Date.h"
#include "core/solar/Coordinate.h"
#include "core/solar/SolarPositionCalculator.h"
#include "core/solar/TwilightPhase.h"

namespace solvara {

// Turns a place, a moment and the user's schedule into the displays' target colour
// temperature: a fixed curve of the sun's elevation between the night and day values, with a
// morning boost towards the day value when the user wakes near civil dawn.
//
// The schedule setters may run on another thread while a state is computed; currentState()
// itself uses the unguarded solar-event cache and must run on one thread at a time.
class CircadianEngine {
public:
    struct TimeOfDay {
        int hour = 0;
        int minute = 0;

        constexpr bool operator==(const TimeOfDay&) const = default;
    };

    struct CircadianState {
        std::int64_t colorTemperature = 0;  // whole kelvin
        double melanopicFactor = 0.0;       // (colorTemperature - 1800) / 4700, within 0..1
        TwilightPhase phase = TwilightPhase::astronomicalNight;
        double solarElevation = 0.0;  // degrees
        bool isMorningBoostActive = false;
        Date timestamp;
    };

    CircadianEngine() = default;
    CircadianEngine(const CircadianEngine&) = delete;
    CircadianEngine& operator=(const CircadianEngine&) = delete;

    // Each access takes the lock on its own. Nothing is validated: a day value below the night
    // value inverts the curve.
    TimeOfDay wakeTime() const;
    void setWakeTime(TimeOfDay value);
    // Kept for the application's schedule; no state depends on it.
    TimeOfDay sleepTime() const;
    void setSleepTime(TimeOfDay value);
    bool morningBoostEnabled() const;
    void setMorningBoostEnabled(bool value);
    std::int64_t dayKelvin() const;
    void setDayKelvin(std::int64_t value);
    std::int64_t nightKelvin() const;
    void setNightKelvin(std::int64_t value);

    CircadianState currentState(Coordinate coordinate, Date date) const;

private:
    friend class CircadianEngineCurveAccess;  // tests read the curve at exact elevations

    static std::int64_t targetColorTemperature(double elevation, bool isAscending, std::int64_t dayK,
                                               std::int64_t nightK);
    static double morningBoostBlendFactor(TwilightPhase phase, double elevation);

    SolarPositionCalculator solarCalculator;
    mutable std::mutex lock;
    TimeOfDay wakeTime_{7, 0};
    TimeOfDay sleepTime_{23, 0};
    bool morningBoostEnabled_ = true;
    std::int64_t dayKelvin_ = 6500;
    std::int64_t nightKelvin_ = 1800;
};

}  // namespace solvara
