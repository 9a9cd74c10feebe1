#pragma once

#include <cstdint>
#include <limits>
#include <optional>

namespace solvara::health {

// Integer sums over stored documents: a hostile value must not overflow (undefined behaviour),
// so the sum sticks at the end of the range instead.
inline std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum)) return sum;
    return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}

// The integer sum of the values that `value(item)` gives, divided as a double by how many
// there are; absent when no item has one (never 0/0).
template <class Range, class Get>
std::optional<double> meanOfPresent(const Range& items, Get value) {
    std::int64_t sum = 0;
    std::int64_t count = 0;
    for (const auto& item : items) {
        const std::optional<std::int64_t> present = value(item);
        if (!present) continue;
        sum = saturatingAdd(sum, *present);
        ++count;
    }
    if (count == 0) return std::nullopt;
    return static_cast<double>(sum) / static_cast<double>(count);
}

}  // namespace solvara::health
