#pragma once

#include "app/display/ScreenWindowMap.h"
#include "platform/Screens.h"

namespace solvara {

// A uniform black veil over every screen, so dimming (PWM protection, the Sunglasses and Dark
// modes) can leave the backlight at full power. Sits above the colour tint.
class SoftwareDimmer {
public:
    // Beyond this the user could no longer read the screen to undo it.
    static constexpr double maximumOpacity = 0.85;

    explicit SoftwareDimmer(Screens& screens);

    // Replaces every dimmer window by a fresh one per screen, black at min(opacity, 0.85).
    void activate(double opacity);
    // Recolours the existing windows; opens and closes none.
    void updateOpacity(double opacity);
    // Orders out and forgets every window.
    void deactivate();

    // The veil for `opacity`: black at the opacity kept within 0...0.85 (not a number: 0).
    static Color veil(double opacity);

    const ScreenWindowMap& overlayWindows() const { return overlayWindows_; }

private:
    Screens& screens_;
    ScreenWindowMap overlayWindows_;
};

}  // namespace solvara
