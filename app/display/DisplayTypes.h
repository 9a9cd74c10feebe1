#pragma once

// The two choices the display output is driven by, below the state so that the display layer
// includes nothing of it. The state lists them among its own choices (AppStateTypes.h) and
// stores and shows them by these raw values.

#include <array>

#include "core/foundation/EnumTable.h"

namespace solvara {

enum class ScreenEffect { none, invert, grayscale };

enum class GammaAPI { byOverlay, byNightShift, byTable, byFormula };

// Each raw value is at once the text shown for the choice and its stored and exported form,
// in case order (the order pickers list them in).
inline constexpr std::array<EnumEntry<ScreenEffect>, 3> screenEffectRawValues{{
    {ScreenEffect::none, "None"},
    {ScreenEffect::invert, "Invert"},
    {ScreenEffect::grayscale, "Grayscale"},
}};

inline constexpr std::array<EnumEntry<GammaAPI>, 4> gammaAPIRawValues{{
    {GammaAPI::byOverlay, "Color Overlay"},
    {GammaAPI::byNightShift, "Night Shift"},
    {GammaAPI::byTable, "By Table"},
    {GammaAPI::byFormula, "By Formula"},
}};

}  // namespace solvara
