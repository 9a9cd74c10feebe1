#include "app/ui/popover/PopoverReadouts.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "core/foundation/Format.h"

namespace solvara::popover {

namespace {

// Also holds names no phase carries today ("Full Daylight", ...): a renamed phase keeps a colour.
const std::array<std::pair<std::string_view, ColorChoice>, 10> phaseColors{{
    {"Deep Night", {&Theme::blue}},
    {"Astronomical Twilight", {&Theme::indigo, 0.7}},
    {"Nautical Twilight", {&Theme::blue, 0.7}},
    {"Dawn", {&Theme::orange}},
    {"Civil Twilight", {&Theme::orange, 0.7}},
    {"Golden Hour", {&Theme::orange}},
    {"Full Daylight", {&Theme::yellow}},
    {"Bright Daylight", {&Theme::yellow}},
    {"Dusk", {&Theme::orange}},
    {"Night", {&Theme::blue}},
}};

}  // namespace

ColorChoice phaseColor(const std::optional<CircadianEngine::CircadianState>& state) {
    if (!state) return {&Theme::secondary};
    const std::string_view name = state->phase.displayName();
    for (const auto& [phaseName, color] : phaseColors) {
        if (phaseName == name) return color;
    }
    return {&Theme::secondary};
}

std::string phaseText(const std::optional<CircadianEngine::CircadianState>& state) {
    if (!state) return "Initializing...";
    return std::string(state->phase.displayName());
}

std::string kelvinText(std::int64_t kelvin) {
    return format::integer(kelvin) + "K";
}

std::string solarText(double elevation) {
    return "Solar: " + format::fixed(elevation, 1) + "\u00B0";
}

std::string daylightText(std::int64_t kelvin) {
    return format::fixed(MelanopicModel::percentDaylight(kelvin, 250.0), 0) + "%";
}

std::string ediText(double melanopicEDI) {
    return format::fixed(melanopicEDI, 0) + " lux";
}

ColorChoice statusColor(MelanopicModel::GuidelineStatus status) {
    switch (status) {
        case MelanopicModel::GuidelineStatus::good:
            return {&Theme::green};
        case MelanopicModel::GuidelineStatus::caution:
            return {&Theme::yellow};
        case MelanopicModel::GuidelineStatus::alert:
            return {&Theme::red};
    }
    return {&Theme::red};
}

std::string targetText(bool isSleepTime, bool isPostDLMO) {
    if (isSleepTime) return "\u22641 lux";
    if (isPostDLMO) return "\u226410 lux";
    return "\u2265250 lux";
}

double kelvinBarFill(std::int64_t kelvin, double width) {
    const double fill = width * static_cast<double>(kelvin - 1800) / 4700.0;
    return std::max(4.0, std::min(width, fill));
}

}  // namespace solvara::popover
