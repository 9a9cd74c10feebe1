#include "app/display/VignetteOverlayView.h"

#include <algorithm>

namespace solvara {

VignetteOverlayView::VignetteOverlayView(Rect frame) : bounds_{0, 0, frame.width, frame.height} {}

void VignetteOverlayView::attach(OverlayWindow& window) {
    window_ = &window;
    redraw();
}

void VignetteOverlayView::setVignetteRadius(double radius) {
    vignetteRadius_ = radius;
    redraw();
}

void VignetteOverlayView::setVignetteOpacity(double opacity) {
    vignetteOpacity_ = opacity;
    redraw();
}

RadialGradient VignetteOverlayView::gradient() const {
    const double m = std::max(bounds_.width, bounds_.height);
    RadialGradient g;
    g.center = bounds_.center();
    g.startRadius = m * vignetteRadius_ * 0.5;
    g.endRadius = m * 0.75;
    g.stops = {GradientStop{0.0, Color::black(0.0)}, GradientStop{0.6, Color::black(vignetteOpacity_ * 0.3)},
               GradientStop{1.0, Color::black(vignetteOpacity_)}};
    return g;
}

void VignetteOverlayView::redraw() {
    if (window_ != nullptr) window_->setDrawing(gradient());
}

}  // namespace solvara
