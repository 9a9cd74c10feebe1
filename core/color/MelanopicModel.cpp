#include "core/color/MelanopicModel.h"

#include <algorithm>

namespace solvara {

namespace {

// The standard screen: 1500 cm² seen from 60 cm.
constexpr double standardGeometry = 1500.0 / 3600.0;

}  // namespace

double MelanopicModel::melanopicPhotopicRatio(std::int64_t kelvin) {
    const double k = static_cast<double>(kelvin);
    if (kelvin < 2000) return 0.45;
    if (kelvin < 3000) return (k - 2000.0) / 1000.0 * 0.2 + 0.45;
    if (kelvin < 4000) return (k - 3000.0) / 1000.0 * 0.15 + 0.65;
    if (kelvin < 5000) return (k - 4000.0) / 1000.0 * 0.1 + 0.8;
    if (kelvin < 6500) return (k - 5000.0) / 1500.0 * 0.1 + 0.9;
    return 1.0;
}

double MelanopicModel::melanopicEDI(std::int64_t kelvin, double luminance, double viewingDistanceCm,
                                    double screenAreaCm2) {
    return (screenAreaCm2 / (viewingDistanceCm * viewingDistanceCm)) * luminance * melanopicPhotopicRatio(kelvin);
}

double MelanopicModel::percentDaylight(std::int64_t kelvin, double luminance) {
    const double percent = luminance * standardGeometry * melanopicPhotopicRatio(kelvin) / 250.0 * 100.0;
    return std::min(percent, 100.0);
}

MelanopicModel::GuidelineStatus MelanopicModel::guidelineStatus(double melanopicEDI, bool isPostDLMO,
                                                                bool isSleepTime) {
    // Every comparison is false for NaN, which therefore falls through to alert.
    if (isSleepTime) {
        if (melanopicEDI <= 1.0) return GuidelineStatus::good;
        if (melanopicEDI <= 10.0) return GuidelineStatus::caution;
        return GuidelineStatus::alert;
    }
    if (isPostDLMO) {
        if (melanopicEDI <= 10.0) return GuidelineStatus::good;
        if (melanopicEDI <= 50.0) return GuidelineStatus::caution;
        return GuidelineStatus::alert;
    }
    // The standard screen peaks near 104 lux, so in the daytime it never reaches good.
    if (melanopicEDI >= 250.0) return GuidelineStatus::good;
    if (melanopicEDI >= 100.0) return GuidelineStatus::caution;
    return GuidelineStatus::alert;
}

}  // namespace solvara
