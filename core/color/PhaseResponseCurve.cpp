#include "core/color/PhaseResponseCurve.h"

#include <cmath>
#include <numbers>

namespace solvara {

double PhaseResponseCurve::phaseShift(double hoursFromCBTmin) {
    const double h = hoursFromCBTmin;
    if (h < -8.0) return 0.0;
    if (h < 0.0) return 1.5 * std::sin(h * -std::numbers::pi * 0.125);
    if (h < 8.0) return -2.5 * std::sin(h * std::numbers::pi * 0.125);
    return 0.0;
}

bool PhaseResponseCurve::isBeneficialMorningLight(std::int64_t currentHour, std::int64_t wakeHour) {
    // Remainders truncate, so hours outside 0 ... 23 keep their sign as they do elsewhere.
    // Hours so large that the sums overflow are no hours of a day: they are never in the window.
    std::int64_t start = 0;
    if (__builtin_add_overflow(wakeHour, 22, &start)) return false;
    start %= 24;
    std::int64_t offset = 0;
    if (__builtin_sub_overflow(currentHour, start, &offset) || __builtin_add_overflow(offset, 24, &offset)) {
        return false;
    }
    const std::int64_t r = offset % 24;
    return r >= 0 && r < 7;
}

}  // namespace solvara
