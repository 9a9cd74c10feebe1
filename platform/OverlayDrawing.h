#pragma once

#include <array>
#include <cstddef>
#include <variant>

#include "platform/Geometry.h"

namespace solvara {

// What an overlay window paints over its background, in the window's own coordinates (origin
// at the window's top left). Plain values, so views in app/display compute them and any
// back end can draw them.

// One colour stop of a gradient; location 0...1 from the start circle to the end circle.
struct GradientStop {
    double location = 0;
    Color color;
    bool operator==(const GradientStop&) const = default;
};

// A radial gradient between two concentric circles. Inside the start circle nothing is painted
// (the background shows); beyond the end circle the last stop's colour fills the rest.
struct RadialGradient {
    Point center;
    double startRadius = 0;
    double endRadius = 0;
    std::array<GradientStop, 3> stops{};

    bool operator==(const RadialGradient&) const = default;

    // The colour painted at `distance` from the centre (clear inside the start circle),
    // interpolated linearly between stops in straight RGBA.
    Color colorAt(double distance) const {
        if (distance < startRadius) return Color::clear();
        double span = endRadius - startRadius;
        double t = span > 0 ? (distance - startRadius) / span : 1.0;
        if (t >= 1.0) return stops.back().color;
        if (t <= stops.front().location) return stops.front().color;
        for (std::size_t i = 1; i < stops.size(); ++i) {
            const auto& a = stops[i - 1];
            const auto& b = stops[i];
            if (t <= b.location) {
                double w = b.location > a.location ? (t - a.location) / (b.location - a.location) : 1.0;
                return {a.color.red + (b.color.red - a.color.red) * w,
                        a.color.green + (b.color.green - a.color.green) * w,
                        a.color.blue + (b.color.blue - a.color.blue) * w,
                        a.color.alpha + (b.color.alpha - a.color.alpha) * w};
            }
        }
        return stops.back().color;
    }
};

// A veil of `veil` over the whole window with a fully transparent disc cut out of it.
struct SpotlightCutout {
    Color veil;
    Point center;
    double radius = 0;

    bool operator==(const SpotlightCutout&) const = default;

    Color colorAt(Point p) const {
        double dx = p.x - center.x;
        double dy = p.y - center.y;
        return dx * dx + dy * dy < radius * radius ? Color::clear() : veil;
    }
};

// Nothing but the background.
struct NoDrawing {
    bool operator==(const NoDrawing&) const = default;
};

using OverlayDrawing = std::variant<NoDrawing, RadialGradient, SpotlightCutout>;

}  // namespace solvara
