#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/foundation/EnumTable.h"

namespace solvara {

// How much circadian-active (melanopic) light a screen gives off, after CIE S 026:2018, and how
// that compares with the exposure guidelines for the day, the evening and sleep time.
class MelanopicModel {
public:
    static constexpr double melanopsinPeakNm = 480.0;

    enum class GuidelineStatus { good, caution, alert };

    static constexpr std::array<EnumEntry<GuidelineStatus>, 3> guidelineStatusTable{{
        {GuidelineStatus::good, "Good"},
        {GuidelineStatus::caution, "Caution"},
        {GuidelineStatus::alert, "Alert"},
    }};

    // Melanopic/photopic ratio: 0.45 at 2000 K and below, 1.0 at 6500 K and above, piecewise
    // linear through knots at 3000, 4000 and 5000 K.
    static double melanopicPhotopicRatio(std::int64_t kelvin);

    // Melanopic EDI in lux: screen area over the squared viewing distance, times luminance
    // (cd/m²) and ratio. No guard against a zero distance; callers pass 60 cm.
    static double melanopicEDI(std::int64_t kelvin, double luminance, double viewingDistanceCm,
                               double screenAreaCm2);

    // The EDI of the standard 1500 cm² screen at 60 cm as a percentage of a 250 lux daytime
    // target, capped at 100 (no lower bound).
    static double percentDaylight(std::int64_t kelvin, double luminance);

    // Sleep time outranks post-DLMO; in the daytime a high EDI is what is wanted. NaN is alert.
    static GuidelineStatus guidelineStatus(double melanopicEDI, bool isPostDLMO, bool isSleepTime);
};

constexpr std::string_view rawValue(MelanopicModel::GuidelineStatus status) {
    return rawValueIn(MelanopicModel::guidelineStatusTable, status);
}

// Exact, case-sensitive match of the whole text; anything else is empty.
template <std::same_as<MelanopicModel::GuidelineStatus> E>
constexpr std::optional<E> fromRawValue(std::string_view raw) {
    return fromRawValueIn(MelanopicModel::guidelineStatusTable, raw);
}

}  // namespace solvara
