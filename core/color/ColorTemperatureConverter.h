#pragma once

#include <cstdint>

namespace solvara {

// Turns a colour temperature into per-channel gains for the display transfer tables and the
// overlay tint. Tanner Helland's fit of the black-body curve, clamped to 1000 ... 40000 K.
class ColorTemperatureConverter {
public:
    // Channel gains in 0.0 ... 1.0, where 1.0 leaves the channel untouched.
    struct RGB {
        double red = 1.0;
        double green = 1.0;
        double blue = 1.0;
    };

    RGB kelvinToRGB(std::int64_t kelvin) const;
};

}  // namespace solvara
