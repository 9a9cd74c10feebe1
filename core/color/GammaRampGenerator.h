#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/color/ColorTemperatureConverter.h"

namespace solvara {

// Builds the 256-entry transfer tables the display output writes. Every ramp is linear in the
// input level; nothing is cached, so each call costs one kelvin conversion and three tables.
class GammaRampGenerator {
public:
    static constexpr std::size_t size = 256;
    using Channel = std::array<float, size>;

    // Entry i is the output level (0.0 ... 1.0) for input level i / 255.
    struct GammaRamp {
        Channel red{};
        Channel green{};
        Channel blue{};
    };

    ColorTemperatureConverter converter;

    // Brightness is clamped to 0 ... 1; NaN counts as 0.
    GammaRamp generateRamp(std::int64_t kelvin, double brightness) const;
    // Only red light reaches the screen: green and blue stay at zero.
    GammaRamp generateRedOnlyRamp(double brightness) const;
    // Full output at input 0, none at input 255.
    GammaRamp generateInvertedRamp(std::int64_t kelvin, double brightness) const;
    // Three identical channels scaled by the Rec. 709 luma of the kelvin's gains.
    GammaRamp generateGrayscaleRamp(std::int64_t kelvin, double brightness) const;
};

}  // namespace solvara
