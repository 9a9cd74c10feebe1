#include "core/color/MelanopicEDICalculator.h"

#include "core/color/MelanopicModel.h"

namespace solvara {

MelanopicEDICalculator::DisplayExposure MelanopicEDICalculator::exposure(std::int64_t kelvin,
                                                                         double luminanceNits) const {
    DisplayExposure result;
    result.colorTemperature = kelvin;
    result.luminance = luminanceNits;
    result.melanopicRatio = MelanopicModel::melanopicPhotopicRatio(kelvin);
    result.melanopicEDI = luminanceNits * (1500.0 / 3600.0) * result.melanopicRatio;
    return result;
}

}  // namespace solvara
