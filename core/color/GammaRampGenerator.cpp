#include "core/color/GammaRampGenerator.h"

#include <algorithm>

namespace solvara {

namespace {

double clampBrightness(double brightness) {
    if (!(brightness >= 0.0)) return 0.0;
    return std::min(brightness, 1.0);
}

// Each entry is b × (gain × level) in double precision, rounded to float only when stored;
// the grouping is kept so ramps match bit for bit whatever the caller.
void fill(GammaRampGenerator::Channel& channel, double b, double gain, bool inverted) {
    for (std::size_t i = 0; i < GammaRampGenerator::size; ++i) {
        const double step = inverted ? static_cast<double>(255 - i) : static_cast<double>(i);
        channel[i] = static_cast<float>(b * (gain * (step / 255.0)));
    }
}

GammaRampGenerator::GammaRamp scaledRamp(const ColorTemperatureConverter::RGB& rgb, double brightness,
                                         bool inverted) {
    const double b = clampBrightness(brightness);
    GammaRampGenerator::GammaRamp ramp;
    fill(ramp.red, b, rgb.red, inverted);
    fill(ramp.green, b, rgb.green, inverted);
    fill(ramp.blue, b, rgb.blue, inverted);
    return ramp;
}

}  // namespace

GammaRampGenerator::GammaRamp GammaRampGenerator::generateRamp(std::int64_t kelvin, double brightness) const {
    return scaledRamp(converter.kelvinToRGB(kelvin), brightness, false);
}

GammaRampGenerator::GammaRamp GammaRampGenerator::generateRedOnlyRamp(double brightness) const {
    const double b = clampBrightness(brightness);
    GammaRamp ramp;
    for (std::size_t i = 0; i < size; ++i) {
        ramp.red[i] = static_cast<float>(b * (static_cast<double>(i) / 255.0));
    }
    return ramp;
}

GammaRampGenerator::GammaRamp GammaRampGenerator::generateInvertedRamp(std::int64_t kelvin,
                                                                       double brightness) const {
    return scaledRamp(converter.kelvinToRGB(kelvin), brightness, true);
}

GammaRampGenerator::GammaRamp GammaRampGenerator::generateGrayscaleRamp(std::int64_t kelvin,
                                                                        double brightness) const {
    const double b = clampBrightness(brightness);
    const auto rgb = converter.kelvinToRGB(kelvin);
    const double luma = 0.2126 * rgb.red + 0.7152 * rgb.green + 0.0722 * rgb.blue;
    GammaRamp ramp;
    fill(ramp.red, b, luma, false);
    ramp.green = ramp.red;
    ramp.blue = ramp.red;
    return ramp;
}

}  // namespace solvara
