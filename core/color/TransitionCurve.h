#pragma once

#include <cstdint>

namespace solvara {

// Timing and easing of a change from one colour temperature to another.
class TransitionCurve {
public:
    // Seconds for a change of the given size, by its magnitude: 15, 20, 30 or 45 minutes.
    static double duration(std::int64_t forKelvinDelta);

    // Smoothstep of the progress clamped to 0 ... 1 (NaN counts as 0).
    static double easeInOut(double progress);

    // The eased kelvin between `from` and `to`, truncated toward zero.
    static std::int64_t interpolate(std::int64_t from, std::int64_t to, double progress);
};

}  // namespace solvara
