#pragma once

#include "platform/Geometry.h"
#include "platform/OverlayDrawing.h"

namespace solvara {

// A veil with a clear disc: the content a spotlight window would show. Nothing creates one yet.
class SpotlightOverlayView {
public:
    explicit SpotlightOverlayView(Rect frame) : bounds_{0, 0, frame.width, frame.height} {}

    Point spotlightCenter{0, 0};  // view coordinates
    double spotlightRadius = 200;
    double dimOpacity = 0.7;

    Rect bounds() const { return bounds_; }

    // Black at dimOpacity over the bounds, with a fully transparent disc of spotlightRadius
    // around spotlightCenter.
    SpotlightCutout drawing() const { return SpotlightCutout{Color::black(dimOpacity), spotlightCenter, spotlightRadius}; }

private:
    Rect bounds_;
};

}  // namespace solvara
