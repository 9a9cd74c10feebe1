#pragma once

#include <cstdint>

namespace solvara {

class SpectralFilter {
public:
    static constexpr double redOnlyCutoffNm = 590.0;
    static constexpr double melanopsinPeakNm = 480.0;

    // How much less blue the kelvin lets through than 6500 K does, in percent (0 ... 100).
    static double blueReductionPercent(std::int64_t kelvin);
};

}  // namespace solvara
