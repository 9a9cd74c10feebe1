#pragma once

#include "platform/Geometry.h"
#include "platform/OverlayDrawing.h"
#include "platform/OverlayWindow.h"

namespace solvara {

// The content of a vignette window: a radial darkening towards the edges, clear in the middle.
// Writing either parameter redraws the window the view is attached to.
class VignetteOverlayView {
public:
    static constexpr double defaultRadius = 0.6;
    static constexpr double defaultOpacity = 0.5;

    // `frame` is the window's rectangle; the view draws in its own bounds (origin 0, 0).
    explicit VignetteOverlayView(Rect frame);

    // Shows the view in `window` (drawn at once) and redraws it there on every change.
    void attach(OverlayWindow& window);

    double vignetteRadius() const { return vignetteRadius_; }
    double vignetteOpacity() const { return vignetteOpacity_; }
    void setVignetteRadius(double radius);
    void setVignetteOpacity(double opacity);

    Rect bounds() const { return bounds_; }

    // Black from alpha 0 at the start circle (radius = larger side x vignetteRadius x 0.5)
    // through vignetteOpacity x 0.3 at 60 % to vignetteOpacity at the end circle (larger side x
    // 0.75) and beyond; nothing inside the start circle. The opacity is not capped.
    RadialGradient gradient() const;

private:
    void redraw();

    Rect bounds_;
    double vignetteRadius_ = defaultRadius;
    double vignetteOpacity_ = defaultOpacity;
    OverlayWindow* window_ = nullptr;
};

}  // namespace solvara
