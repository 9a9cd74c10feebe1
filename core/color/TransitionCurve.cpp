#include "core/color/TransitionCurve.h"

#include <algorithm>
#include <limits>

namespace solvara {

double TransitionCurve::duration(std::int64_t forKelvinDelta) {
    // The most negative delta has no positive counterpart; it is simply a very large change.
    const std::uint64_t magnitude = forKelvinDelta < 0 ? 0 - static_cast<std::uint64_t>(forKelvinDelta)
                                                       : static_cast<std::uint64_t>(forKelvinDelta);
    if (magnitude < 500) return 900.0;
    if (magnitude < 1500) return 1200.0;
    if (magnitude < 3000) return 1800.0;
    return 2700.0;
}

double TransitionCurve::easeInOut(double progress) {
    double t = progress;
    if (!(t >= 0.0)) t = 0.0;
    t = std::min(t, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

std::int64_t TransitionCurve::interpolate(std::int64_t from, std::int64_t to, double progress) {
    const double eased = easeInOut(progress);
    // The integer difference is exact whenever it fits; beyond that the double difference is
    // the closest stand-in.
    std::int64_t difference = 0;
    const double span = __builtin_sub_overflow(to, from, &difference)
                            ? static_cast<double>(to) - static_cast<double>(from)
                            : static_cast<double>(difference);
    const double value = eased * span + static_cast<double>(from);

    // Rounding near the ends of the range can step just past them: saturate rather than
    // convert an out-of-range double.
    constexpr double limit = 9223372036854775808.0;  // 2^63
    if (value >= limit) return std::numeric_limits<std::int64_t>::max();
    if (value < -limit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

}  // namespace solvara
