#pragma once

#include <cstdint>

namespace solvara {

// A simplified human phase-response curve to light.
class PhaseResponseCurve {
public:
    // Hours relative to the core-body-temperature minimum (negative = before it). Positive
    // results are phase delays, negative ones advances, in hours; zero outside ±8 h and for NaN.
    static double phaseShift(double hoursFromCBTmin);

    // True from two hours before the wake hour to four hours after it, wrapping over midnight.
    static bool isBeneficialMorningLight(std::int64_t currentHour, std::int64_t wakeHour);
};

}  // namespace solvara
