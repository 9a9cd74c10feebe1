#include "app/display/VignetteDimmer.h"

#include "app/display/OverlayStyle.h"

namespace solvara {

VignetteDimmer::VignetteDimmer(Screens& screens) : screens_(screens) {}

void VignetteDimmer::activate() {
    deactivate();
    for (const auto& screen : screens_.screens()) {
        auto spec = OverlayStyle::forScreen(screen, OverlayStyle::vignetteLevel, Color::clear());
        auto view = std::make_unique<VignetteOverlayView>(spec.frame);
        view->setVignetteRadius(radius);
        view->setVignetteOpacity(opacity);
        spec.drawing = view->gradient();
        auto window = screens_.createOverlayWindow(spec);
        if (!window) continue;
        view->attach(*window);
        overlayWindows_.push_back(VignetteWindow{std::move(window), std::move(view)});
    }
}

void VignetteDimmer::deactivate() {
    for (auto& entry : overlayWindows_) entry.window->orderOut();
    overlayWindows_.clear();
}

}  // namespace solvara
