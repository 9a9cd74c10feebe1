#pragma once

#include <memory>
#include <vector>

#include "app/display/VignetteOverlayView.h"
#include "platform/OverlayWindow.h"
#include "platform/Screens.h"

namespace solvara {

// A vignette over every screen, below ordinary windows' menus (level 3): darkens the edges and
// leaves the centre clear.
class VignetteDimmer {
public:
    // One vignette window and the view that draws it.
    struct VignetteWindow {
        std::unique_ptr<OverlayWindow> window;
        std::unique_ptr<VignetteOverlayView> view;
    };

    explicit VignetteDimmer(Screens& screens);

    // Replaces every vignette window by a fresh one per screen drawn with `radius` and `opacity`.
    void activate();
    // Orders out and forgets every window.
    void deactivate();

    // Set by the owner before activate(); live views are changed through overlayWindows().
    double radius = VignetteOverlayView::defaultRadius;
    double opacity = VignetteOverlayView::defaultOpacity;

    std::vector<VignetteWindow>& overlayWindows() { return overlayWindows_; }
    const std::vector<VignetteWindow>& overlayWindows() const { return overlayWindows_; }

private:
    Screens& screens_;
    std::vector<VignetteWindow> overlayWindows_;
};

}  // namespace solvara
