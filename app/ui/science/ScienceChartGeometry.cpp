#include "app/ui/science/ScienceChartGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/color/MelanopicModel.h"
#include "core/color/PhaseResponseCurve.h"
#include "core/foundation/Format.h"

namespace solvara::science {

namespace {
constexpr double rightInset = 16;
constexpr double bottomInset = 30;
constexpr double cutoffNanometres = 590;
}  // namespace

Plot Plot::inside(QSizeF canvas, double left, double top) {
    return {left, top, canvas.width() - left - rightInset, canvas.height() - top - bottomInset};
}

bool Plot::drawable() const {
    return std::isfinite(width) && std::isfinite(height) && width >= 1 && height >= 1 &&
           width < std::numeric_limits<int>::max();
}

int Plot::sampleCount() const {
    return drawable() ? static_cast<int>(width) : 0;
}

double wavelengthX(const Plot& plot, double nanometres) {
    return plot.left + (nanometres - 380) / 400 * plot.width;
}

double melanopsinSensitivity(double nanometres) {
    const double d = nanometres - 480;
    return std::exp(-(d * d) / 3200);
}

std::vector<QPointF> melanopsinCurve(const Plot& plot, double peakShare) {
    std::vector<QPointF> points;
    const int n = plot.sampleCount();
    if (n == 0) return points;
    points.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        // The unrounded width divides here, so the last sample falls just short of 780 nm.
        const double lambda = 380 + 400 * i / plot.width;
        points.emplace_back(plot.left + i, plot.top + plot.height * (1 - peakShare * melanopsinSensitivity(lambda)));
    }
    return points;
}

std::vector<int> wavelengthTicks() {
    return {400, 450, 500, 550, 600, 650, 700, 750};
}

double phaseX(const Plot& plot, double hoursFromCBTmin) {
    return plot.left + plot.width * (hoursFromCBTmin + 12) / 24;
}

double phaseY(const Plot& plot, double shiftHours) {
    const double midY = plot.top + plot.height / 2;
    return midY - (plot.height / 2) * shiftHours / 2.5;
}

std::vector<QPointF> phaseCurve(const Plot& plot) {
    std::vector<QPointF> points;
    const int n = plot.sampleCount();
    if (n == 0) return points;
    points.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        const double hours = 24.0 * i / n - 12;
        points.emplace_back(plot.left + i, phaseY(plot, PhaseResponseCurve::phaseShift(hours)));
    }
    return points;
}

std::string phaseTickLabel(int hours) {
    return (hours > 0 ? "+" : "") + format::integer(hours) + "h";
}

double cutoffX(const Plot& plot) {
    return wavelengthX(plot, cutoffNanometres);
}

std::vector<QLineF> hatchLines(const Plot& plot) {
    std::vector<QLineF> lines;
    if (!plot.drawable()) return lines;
    const double xc = cutoffX(plot);
    for (double o = 0; o <= plot.width + plot.height; o += 8) {
        lines.emplace_back(std::min(xc, plot.left + o), plot.top, std::min(xc, plot.left + o - plot.height),
                           plot.bottom());
    }
    return lines;
}

double kelvinX(const Plot& plot, double kelvin) {
    return plot.left + plot.width * (kelvin - 1800) / 4700;
}

double ratioY(const Plot& plot, double ratio) {
    return plot.top + plot.height * (1 - (ratio - 0.4) / 0.65);
}

std::int64_t columnKelvin(int column, int columns) {
    return 1800 + static_cast<std::int64_t>(4700.0 * column / columns);
}

std::vector<QPointF> ratioCurve(const Plot& plot) {
    std::vector<QPointF> points;
    const int n = plot.sampleCount();
    if (n == 0) return points;
    points.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        points.emplace_back(plot.left + i, ratioY(plot, MelanopicModel::melanopicPhotopicRatio(columnKelvin(i, n))));
    }
    return points;
}

Marker ratioMarker(const Plot& plot, std::int64_t kelvin) {
    const double ratio = MelanopicModel::melanopicPhotopicRatio(kelvin);
    return {QPointF(kelvinX(plot, static_cast<double>(kelvin)), ratioY(plot, ratio)),
            format::integer(kelvin) + "K → " + format::fixed(ratio, 1)};
}

std::vector<QPointF> flickerWave(QSizeF canvas) {
    const double w = canvas.width();
    const double low = canvas.height() - 8;
    const double high = 8;
    const double period = (w - 16) / 5;
    std::vector<QPointF> points{{8, low}};
    for (int k = 0; k < 5; ++k) {
        const double x = 8 + k * period;
        points.insert(points.end(), {{x, low}, {x, high}, {x + 0.4 * period, high}, {x + 0.4 * period, low}});
    }
    points.emplace_back(w - 8, low);
    return points;
}

double constantLevelY(QSizeF canvas) {
    return 8 + 0.4 * (canvas.height() - 16);
}

std::optional<QRectF> textRect(QSizeF canvas, QPointF anchor, QSizeF size, bool trailing) {
    if (!std::isfinite(anchor.x()) || !std::isfinite(anchor.y()) || anchor.x() < 0 || anchor.y() < 0 ||
        anchor.x() > canvas.width() || anchor.y() > canvas.height()) {
        return std::nullopt;
    }
    QRectF rect(
        QPointF(trailing ? anchor.x() - size.width() : anchor.x() - size.width() / 2, anchor.y() - size.height() / 2),
        size);
    // Right and bottom first, so a text wider than the canvas keeps its start visible.
    if (rect.right() > canvas.width()) rect.moveRight(canvas.width());
    if (rect.bottom() > canvas.height()) rect.moveBottom(canvas.height());
    if (rect.left() < 0) rect.moveLeft(0);
    if (rect.top() < 0) rect.moveTop(0);
    return rect;
}

}  // namespace solvara::science
