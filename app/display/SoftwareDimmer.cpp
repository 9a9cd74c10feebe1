#include "app/display/SoftwareDimmer.h"

#include <algorithm>

#include "app/display/OverlayStyle.h"

namespace solvara {

SoftwareDimmer::SoftwareDimmer(Screens& screens) : screens_(screens) {}

Color SoftwareDimmer::veil(double opacity) {
    if (!(opacity > 0.0)) return Color::black(0.0);
    return Color::black(std::min(opacity, maximumOpacity));
}

void SoftwareDimmer::activate(double opacity) {
    deactivate();
    const auto screens = screens_.screens();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        auto spec = OverlayStyle::forScreen(screens[i], OverlayStyle::dimmerLevel, veil(opacity));
        overlayWindows_.put(ScreenWindowMap::keyFor(screens[i], i), screens_.createOverlayWindow(spec));
    }
}

void SoftwareDimmer::updateOpacity(double opacity) {
    const Color color = veil(opacity);
    for (const auto& [key, window] : overlayWindows_) window->setBackground(color);
}

void SoftwareDimmer::deactivate() { overlayWindows_.orderOutAll(); }

}  // namespace solvara
