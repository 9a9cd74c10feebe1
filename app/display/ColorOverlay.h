#pragma once

#include <cstdint>

#include "app/display/ScreenWindowMap.h"
#include "core/color/ColorTemperatureConverter.h"
#include "platform/Screens.h"

namespace solvara {

// The "Color Overlay" output method: a translucent orange-red window over every screen instead
// of changed transfer tables. Works where tables are unavailable or overridden, at the cost of
// tinting blacks too.
class ColorOverlay {
public:
    static constexpr std::int64_t minimumKelvin = 1800;
    static constexpr std::int64_t maximumKelvin = 6500;
    // Near-neutral targets show no tint at all.
    static constexpr std::int64_t neutralThreshold = 6400;
    static constexpr double maximumAlpha = 0.65;

    explicit ColorOverlay(Screens& screens);

    // Tints every screen for `kelvin`, or removes the tint at 6400 K and above. The first
    // application after a switch-off creates one window per screen; later ones recolour the
    // existing windows (screens added meanwhile get one only after a switch-off and on).
    void applyColorTemperature(std::int64_t kelvin);

    // Orders out every tint window and forgets them.
    void deactivate();

    // The tint for `kelvin` (clamped to 1800...6500): red 1, green from the black body's
    // green-to-blue balance, no blue, alpha 1 - blue capped at 0.65; clear when near neutral.
    Color tintColor(std::int64_t kelvin) const;

    std::int64_t currentKelvin() const { return currentKelvin_; }
    const ScreenWindowMap& overlayWindows() const { return overlayWindows_; }

private:
    Screens& screens_;
    ScreenWindowMap overlayWindows_;
    ColorTemperatureConverter converter_;
    std::int64_t currentKelvin_ = maximumKelvin;
};

}  // namespace solvara
