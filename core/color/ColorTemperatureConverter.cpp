#include "core/color/ColorTemperatureConverter.h"

#include <algorithm>
#include <cmath>

namespace solvara {

namespace {

// NaN fails `>= 0` as well, so it lands on 0 like a negative gain.
double clampUnit(double value) {
    if (!(value >= 0.0)) return 0.0;
    return std::min(value, 1.0);
}

}  // namespace

ColorTemperatureConverter::RGB ColorTemperatureConverter::kelvinToRGB(std::int64_t kelvin) const {
    const double t = static_cast<double>(std::clamp<std::int64_t>(kelvin, 1000, 40000)) / 100.0;

    // Red and green switch formula above t = 66, blue at and above it: at 6600 K all three
    // channels come out at full gain.
    RGB rgb;
    if (t <= 66.0) {
        rgb.red = 1.0;
    } else {
        rgb.red = clampUnit(329.698727446 * std::pow(t - 60.0, -0.1332047592) / 255.0);
    }

    double green = 0.0;
    if (t <= 66.0) {
        green = 99.4708025861 * std::log(t) - 161.1195681661;
    } else {
        green = 288.1221695283 * std::pow(t - 60.0, -0.0755148492);
    }
    rgb.green = clampUnit(green / 255.0);

    if (t >= 66.0) {
        rgb.blue = 1.0;
    } else if (t <= 19.0) {
        rgb.blue = 0.0;
    } else {
        rgb.blue = clampUnit((138.5177312231 * std::log(t - 10.0) - 305.0447927307) / 255.0);
    }
    return rgb;
}

}  // namespace solvara
