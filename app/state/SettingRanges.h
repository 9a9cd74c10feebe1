#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace solvara {

// The values a setting may take when it comes from outside the running program (the stored
// settings at launch, an imported settings file). Anything beyond would break something: a
// zero break interval, a kelvin the colour maths cannot use, a dimmer that blacks out the
// screen, an hour whose minutes overflow. The views' own controls stay well inside.
class SettingRanges {
public:
    template <class T>
    struct Range {
        T min;
        T max;
        constexpr bool contains(T value) const {
            if constexpr (std::is_floating_point_v<T>) {
                if (!std::isfinite(value)) return false;
            }
            return value >= min && value <= max;
        }
    };

    // Switches, choices and names: any value of the type will do.
    struct AnyValue {
        template <class T>
        constexpr bool contains(const T&) const {
            return true;
        }
    };

    static constexpr AnyValue none{};
    static constexpr Range<std::int64_t> hour{0, 23};
    static constexpr Range<std::int64_t> minute{0, 59};
    // The colour maths clamps any kelvin to its curve; the bound keeps every sum and product
    // on the way far from overflow (a settings file may well ask for 100000 K).
    static constexpr Range<std::int64_t> kelvin{1000, 1000000};
    static constexpr Range<std::int64_t> intervalMinutes{1, 1440};           // breaks, postpone
    static constexpr Range<std::int64_t> inactivityMinutes{1, 1440};
    static constexpr Range<std::int64_t> transitionSeconds{0, 86400};
    static constexpr Range<std::int64_t> movieRevertMinutes{0, 10080};       // 0: never; a week
    static constexpr Range<std::int64_t> sleepRating{0, 5};
    static constexpr Range<std::int64_t> breakCount{0, 1000000};
    static constexpr Range<std::int64_t> dstDirection{-1, 1};
    static constexpr Range<std::int64_t> gmtOffsetSeconds{-18 * 3600, 18 * 3600};
    static constexpr Range<double> dimmerOpacity{0.0, 0.85};
    static constexpr Range<double> unitInterval{0.0, 1.0};                   // volume, vignette
    static constexpr Range<double> brightness{0.1, 1.0};
    static constexpr Range<double> dayPoints{0.0, 1.0e6};                    // debt, minutes, hours
    // Settings that nothing acts on only have to be numbers.
    static constexpr Range<double> anyNumber{-1.0e9, 1.0e9};
};

// Integer arithmetic that pins at the int64 limits instead of overflowing.
inline std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    }
    return sum;
}

inline std::int64_t saturatingMul(std::int64_t a, std::int64_t b) {
    std::int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) {
        return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                                  : std::numeric_limits<std::int64_t>::max();
    }
    return product;
}

// The remainder with the sign of the divisor (floor division), so -10 mod 1440 is 1430.
inline std::int64_t floorMod(std::int64_t value, std::int64_t divisor) {
    const std::int64_t r = value % divisor;
    return r < 0 ? r + divisor : r;
}

}  // namespace solvara
