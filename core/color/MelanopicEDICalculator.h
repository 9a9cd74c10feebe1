#pragma once

#include <cstdint>

namespace solvara {

// The melanopic exposure of the standard screen (1500 cm² at 60 cm) at a given luminance.
class MelanopicEDICalculator {
public:
    struct DisplayExposure {
        std::int64_t colorTemperature = 0;  // kelvin, as given
        double luminance = 0.0;             // cd/m²
        double melanopicEDI = 0.0;          // lux
        double melanopicRatio = 0.0;        // melanopic/photopic, 0.45 ... 1.0
    };

    DisplayExposure exposure(std::int64_t kelvin, double luminanceNits) const;
};

}  // namespace solvara
