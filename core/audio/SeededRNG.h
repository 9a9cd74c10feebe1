#pragma once

#include <cstdint>

namespace solvara {

// SplitMix64: one 64-bit word of state, a fixed stream per seed. Every draw of one soundscape
// comes from one of these, passed by reference, so the order of the draws is the sound.
struct SeededRNG {
    std::uint64_t state;

    explicit constexpr SeededRNG(std::uint64_t seed) : state(seed) {}

    constexpr std::uint64_t next() {
        state += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // [0, 1) from the top 53 bits of one draw.
    constexpr double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

    // [-1, 1) from one draw.
    constexpr double noise() { return 2.0 * uniform() - 1.0; }
};

}  // namespace solvara
