#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace solvara::science {

// Where the science charts put things, apart from the painting, in canvas pixels (origin top
// left, y down). A chart keeps its plot inside insets: left and top per chart, right 16 and
// bottom 30.
struct Plot {
    double left = 0;
    double top = 0;
    double width = 0;   // canvas width - left - 16
    double height = 0;  // canvas height - top - 30

    static Plot inside(QSizeF canvas, double left, double top);
    // A plot narrower or lower than one pixel (a canvas inside its insets) draws only the
    // background: every mapping below would divide by nothing or sample nothing.
    bool drawable() const;
    double bottom() const { return top + height; }
    double right() const { return left + width; }
    // One sample per horizontal pixel: the plot width truncated.
    int sampleCount() const;
};

// The spectrum charts: 380 to 780 nm across the plot.
double wavelengthX(const Plot& plot, double nanometres);
// Melanopsin's sensitivity, a Gaussian centred on 480 nm.
double melanopsinSensitivity(double nanometres);
// The sensitivity curve, samples 0...n, drawn up to `peakShare` of the plot height (1 on the
// melanopsin chart, 0.8 under the red-light cutoff).
std::vector<QPointF> melanopsinCurve(const Plot& plot, double peakShare);
// The wavelength tick labels 400, 450, ..., 750.
std::vector<int> wavelengthTicks();

// Phase response: -12 to +12 hours from CBTmin across, +-2.5 hours of shift up and down.
double phaseX(const Plot& plot, double hoursFromCBTmin);
double phaseY(const Plot& plot, double shiftHours);
std::vector<QPointF> phaseCurve(const Plot& plot);
// "-12h", "0h", "+4h", ...
std::string phaseTickLabel(int hours);

// Red light: the 590 nm cutoff and the hatching of the blocked region, every line capped at
// the cutoff.
double cutoffX(const Plot& plot);
std::vector<QLineF> hatchLines(const Plot& plot);

// Melanopic/photopic ratio: 1800 to 6500 K across, a ratio of 0.4 to 1.05 up.
double kelvinX(const Plot& plot, double kelvin);
double ratioY(const Plot& plot, double ratio);
// The whole kelvin that column i of n stands for.
std::int64_t columnKelvin(int column, int columns);
std::vector<QPointF> ratioCurve(const Plot& plot);
struct Marker {
    QPointF point;      // on the curve; not clamped to the plot
    std::string label;  // "2700K → 0.6"
};
Marker ratioMarker(const Plot& plot, std::int64_t kelvin);

// PWM: the flicker canvas's square wave over five periods and the constant level.
std::vector<QPointF> flickerWave(QSizeF canvas);
double constantLevelY(QSizeF canvas);

// A text of `size` centred on (or, trailing, ending at) `anchor`, moved inside the canvas when
// it would stick out; nothing when the anchor itself lies outside the canvas.
std::optional<QRectF> textRect(QSizeF canvas, QPointF anchor, QSizeF size, bool trailing = false);

}  // namespace solvara::science
