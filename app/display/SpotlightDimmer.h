#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/display/SpotlightOverlayView.h"
#include "platform/OverlayWindow.h"

namespace solvara {

// The spotlight dimmer's state. It has no operations yet, and nothing constructs it: the stored
// spotlight settings have no visible effect for now.
struct SpotlightDimmer {
    std::vector<std::unique_ptr<OverlayWindow>> overlayWindows;
    std::vector<SpotlightOverlayView> spotlightViews;
    std::optional<std::uint64_t> mouseMonitor;  // token of a pointer-motion subscription
    double centerX = 0;
    double centerY = 0;
    double radius = 0;
    double opacity = 0;
    bool followMouse = false;
};

}  // namespace solvara
