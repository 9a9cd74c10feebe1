#pragma once

namespace solvara::testing {

// "Ease in and out" worked out apart from Qt's QEasingCurve, which the views use: the cubic Bézier
// from (0, 0) through (0.42, 0) and (0.58, 1) to (1, 1), solved for x by halving.
inline double easeInOut(double x) {
    const auto bezier = [](double p1, double p2, double t) {
        return 3 * (1 - t) * (1 - t) * t * p1 + 3 * (1 - t) * t * t * p2 + t * t * t;
    };
    double low = 0.0;
    double high = 1.0;
    for (int i = 0; i < 60; ++i) {
        const double middle = (low + high) / 2;
        (bezier(0.42, 0.58, middle) < x ? low : high) = middle;
    }
    return bezier(0.0, 1.0, (low + high) / 2);
}

}  // namespace solvara::testing
