#include "app/display/ColorOverlay.h"

#include <algorithm>
#include <cmath>

#include "app/display/OverlayStyle.h"

namespace solvara {

ColorOverlay::ColorOverlay(Screens& screens) : screens_(screens) {}

Color ColorOverlay::tintColor(std::int64_t kelvin) const {
    const auto rgb = converter_.kelvinToRGB(std::clamp(kelvin, minimumKelvin, maximumKelvin));
    const double strength = 1.0 - rgb.blue;
    if (!(strength > 0.001)) return Color::clear();
    double green = std::min((rgb.green - rgb.blue) / strength, 1.0);
    if (!(green >= 0.0)) green = 0.0;  // negative or not a number
    return Color{1.0, green, 0.0, std::min(strength, maximumAlpha)};
}

void ColorOverlay::applyColorTemperature(std::int64_t kelvin) {
    currentKelvin_ = std::clamp(kelvin, minimumKelvin, maximumKelvin);
    if (kelvin >= neutralThreshold) {
        deactivate();
        return;
    }
    const Color tint = tintColor(currentKelvin_);
    if (overlayWindows_.empty()) {
        const auto screens = screens_.screens();
        for (std::size_t i = 0; i < screens.size(); ++i) {
            auto spec = OverlayStyle::forScreen(screens[i], OverlayStyle::tintLevel, tint);
            spec.hasShadow = false;
            overlayWindows_.put(ScreenWindowMap::keyFor(screens[i], i), screens_.createOverlayWindow(spec));
        }
        return;
    }
    for (const auto& [key, window] : overlayWindows_) window->setBackground(tint);
}

void ColorOverlay::deactivate() { overlayWindows_.orderOutAll(); }

}  // namespace solvara
