#pragma once

#include <optional>
#include <string>

#include "app/ui/kit/Theme.h"
#include "core/color/MelanopicModel.h"
#include "core/engine/CircadianEngine.h"

namespace solvara {

// The popover's readouts as values: what each one shows for a given state, apart from the
// widgets that show it.
namespace popover {

// A theme colour at an opacity.
struct ColorChoice {
    QColor Theme::*role;
    double opacity = 1.0;
    bool operator==(const ColorChoice&) const = default;
};

// The phase dot's colour, chosen by the phase's display name (secondary before the first state
// and for the names without a colour of their own).
ColorChoice phaseColor(const std::optional<CircadianEngine::CircadianState>& state);
// The phase's display name, or "Initializing..." before the first state (looked up).
std::string phaseText(const std::optional<CircadianEngine::CircadianState>& state);

// "4500K".
std::string kelvinText(std::int64_t kelvin);
// "Solar: -12.5°".
std::string solarText(double elevation);
// "42%": the share of daylight of a 250 cd/m² screen at `kelvin`.
std::string daylightText(std::int64_t kelvin);
// "63 lux".
std::string ediText(double melanopicEDI);
// Green, yellow or red for good, caution and alert.
ColorChoice statusColor(MelanopicModel::GuidelineStatus status);
// "≤1 lux" in the sleep window, "≤10 lux" after the melatonin onset, "≥250 lux" otherwise.
std::string targetText(bool isSleepTime, bool isPostDLMO);
// The kelvin bar's fill: width × (kelvin − 1800) / 4700, within 4 and `width`.
double kelvinBarFill(std::int64_t kelvin, double width);

}  // namespace popover
}  // namespace solvara
