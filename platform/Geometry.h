#pragma once

namespace solvara {

// Points in the desktop's logical coordinates (device-independent pixels), origin top left.
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    Rect insetBy(double dx, double dy) const { return {x + dx, y + dy, width - 2 * dx, height - 2 * dy}; }
    Point center() const { return {x + width / 2, y + height / 2}; }
    bool operator==(const Rect&) const = default;
};

// Straight (not premultiplied) RGBA, each 0...1.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;

    static constexpr Color clear() { return {0, 0, 0, 0}; }
    static constexpr Color black(double alpha) { return {0, 0, 0, alpha}; }
    bool operator==(const Color&) const = default;
};

}  // namespace solvara
