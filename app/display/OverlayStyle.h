#pragma once

#include "platform/OverlayWindow.h"
#include "platform/Screens.h"

namespace solvara {

// The one look every screen overlay shares (tint, dimmer, vignette): over the screen's frame
// grown by 1 point on every side, click-through, on every workspace and stationary.
class OverlayStyle {
public:
    // Stacking levels, bottom to top.
    static constexpr int vignetteLevel = 3;
    static constexpr int tintLevel = 1000;
    static constexpr int dimmerLevel = 1001;  // above the tint, so dimming also darkens it

    static constexpr int allSpacesAndStationary = 17;

    static OverlayWindowSpec forScreen(const ScreenInfo& screen, int level, Color background);
};

}  // namespace solvara
