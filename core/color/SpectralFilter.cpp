#include "core/color/SpectralFilter.h"

#include <algorithm>

#include "core/color/ColorTemperatureConverter.h"

namespace solvara {

double SpectralFilter::blueReductionPercent(std::int64_t kelvin) {
    const ColorTemperatureConverter converter;
    const double blue = converter.kelvinToRGB(kelvin).blue;
    const double neutralBlue = converter.kelvinToRGB(6500).blue;
    if (!(neutralBlue > 0.0)) return 100.0;
    const double percent = (1.0 - blue / neutralBlue) * 100.0;
    return std::max(std::min(percent, 100.0), 0.0);
}

}  // namespace solvara
