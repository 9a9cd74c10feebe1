#include <cmath>

#include <gtest/gtest.h>

#include "app/ui/science/Citation.h"
#include "app/ui/science/ScienceChartGeometry.h"

using namespace solvara;
using namespace solvara::science;

namespace {

// y of the sample nearest to x on a curve sampled one per pixel from the plot's left edge.
double sampleAt(const std::vector<QPointF>& curve, const Plot& plot, double x) {
    return curve.at(static_cast<std::size_t>(std::lround(x - plot.left))).y();
}

}  // namespace

TEST(ScienceChartGeometryTest, SpectrumChartsPeakAndCutOffWhereTheScaleSays) {
    // Melanopsin: 600 x 180 gives a 544 x 130 plot; the peak sits at a quarter of the width.
    const Plot plot = Plot::inside({600, 180}, 40, 20);
    EXPECT_DOUBLE_EQ(plot.width, 544);
    EXPECT_DOUBLE_EQ(plot.height, 130);
    EXPECT_DOUBLE_EQ(wavelengthX(plot, 480), 40 + 0.25 * 544);
    EXPECT_NEAR(melanopsinSensitivity(380), 0.0439, 1e-4);
    EXPECT_LT(melanopsinSensitivity(780), 1e-12);
    const auto curve = melanopsinCurve(plot, 1.0);
    ASSERT_EQ(curve.size(), 545u);
    EXPECT_DOUBLE_EQ(curve.front().x(), 40);
    EXPECT_DOUBLE_EQ(sampleAt(curve, plot, wavelengthX(plot, 480)), plot.top);  // s = 1 at the top
    EXPECT_NEAR(curve.back().y(), plot.bottom(), 1e-9);

    // Red light: the cutoff at 0.525 of the width; the Gaussian reaches 0.8 of the height, in
    // the blocked region; no hatch line crosses to the right of the cutoff.
    const Plot red = Plot::inside({600, 170}, 40, 16);
    const double xc = cutoffX(red);
    EXPECT_DOUBLE_EQ(xc, 40 + 0.525 * red.width);
    const auto scaled = melanopsinCurve(red, 0.8);
    const auto peak =
        std::min_element(scaled.begin(), scaled.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    EXPECT_NEAR(peak->y(), red.top + 0.2 * red.height, 1e-3);
    EXPECT_LT(peak->x(), xc);
    const auto hatches = hatchLines(red);
    EXPECT_EQ(hatches.size(), static_cast<std::size_t>((red.width + red.height) / 8) + 1);
    for (const QLineF& line : hatches) {
        EXPECT_LE(line.x1(), xc);
        EXPECT_LE(line.x2(), xc);
        EXPECT_DOUBLE_EQ(line.y1(), red.top);
        EXPECT_DOUBLE_EQ(line.y2(), red.bottom());
    }
}

TEST(ScienceChartGeometryTest, PhaseResponseCurveAndTicks) {
    const Plot plot = Plot::inside({546, 200}, 50, 20);  // 480 x 150: 20 pixels an hour
    const auto curve = phaseCurve(plot);
    ASSERT_EQ(curve.size(), 481u);
    const double midY = plot.top + plot.height / 2;
    const struct {
        double hours;
        double y;
    } rows[] = {
        {-12, midY}, {-8, midY}, {-4, midY - 0.6 * plot.height / 2}, {0, midY}, {4, plot.bottom()},
        {8, midY},   {12, midY},
    };
    for (const auto& row : rows) {
        EXPECT_NEAR(sampleAt(curve, plot, phaseX(plot, row.hours)), row.y, 1e-9) << row.hours << " h";
    }
    std::string labels;
    for (int h : {-12, -8, -4, 0, 4, 8, 12}) labels += phaseTickLabel(h) + " ";
    EXPECT_EQ(labels, "-12h -8h -4h 0h +4h +8h +12h ");
}

TEST(ScienceChartGeometryTest, MelanopicRatioCurveAndMarker) {
    const Plot plot = Plot::inside({536, 200}, 50, 20);  // 470 wide: 10 K a pixel
    const auto curve = ratioCurve(plot);
    ASSERT_EQ(curve.size(), 471u);
    EXPECT_EQ(columnKelvin(0, 470), 1800);
    EXPECT_EQ(columnKelvin(470, 470), 6500);
    EXPECT_EQ(columnKelvin(1, 3), 1800 + 1566);  // truncated, not rounded
    // Flat at 0.45 up to 2000 K, 1.0 at the right edge.
    EXPECT_DOUBLE_EQ(curve[0].y(), ratioY(plot, 0.45));
    EXPECT_DOUBLE_EQ(curve[20].y(), ratioY(plot, 0.45));
    EXPECT_DOUBLE_EQ(curve.back().y(), ratioY(plot, 1.0));
    EXPECT_DOUBLE_EQ(curve.back().x(), plot.right());

    const struct {
        std::int64_t kelvin;
        const char* label;
        double x;
    } markers[] = {
        {6500, "6500K → 1.0", plot.right()},
        {2700, "2700K → 0.6", plot.left + 90},
        {1000, "1000K → 0.5", plot.left - 80},     // off the scale: not clamped
        {10000, "10000K → 1.0", plot.left + 820},  // likewise on the other side
    };
    for (const auto& row : markers) {
        const Marker marker = ratioMarker(plot, row.kelvin);
        EXPECT_EQ(marker.label, row.label);
        EXPECT_DOUBLE_EQ(marker.point.x(), row.x) << row.kelvin;
    }
}

TEST(ScienceChartGeometryTest, PwmWaveOverFivePeriods) {
    const auto wave = flickerWave({216, 60});  // 40-pixel periods, 16 pixels on
    ASSERT_EQ(wave.size(), 22u);
    EXPECT_EQ(wave[1], QPointF(8, 52));
    EXPECT_EQ(wave[2], QPointF(8, 8));
    EXPECT_EQ(wave[3], QPointF(24, 8));
    EXPECT_EQ(wave[5], QPointF(48, 52));
    EXPECT_EQ(wave.back(), QPointF(208, 52));
    EXPECT_DOUBLE_EQ(constantLevelY({216, 60}), 8 + 0.4 * 44);
}

TEST(ScienceChartGeometryTest, CanvasesInsideTheirInsetsDrawNothing) {
    for (QSizeF canvas : {QSizeF(56, 180), QSizeF(40, 180), QSizeF(0, 0), QSizeF(600, 40), QSizeF(-5, 200)}) {
        const Plot plot = Plot::inside(canvas, 40, 20);
        EXPECT_FALSE(plot.drawable()) << canvas.width() << "x" << canvas.height();
        EXPECT_TRUE(melanopsinCurve(plot, 1).empty());
        EXPECT_TRUE(phaseCurve(plot).empty());
        EXPECT_TRUE(ratioCurve(plot).empty());
        EXPECT_TRUE(hatchLines(plot).empty());
    }
    EXPECT_TRUE(Plot::inside({57, 51}, 40, 20).drawable());  // one pixel each way
}

TEST(ScienceChartGeometryTest, TextsStayInsideTheCanvas) {
    const QSizeF canvas(300, 180);
    // "Sensitivity" centred at x 10 would start left of the canvas; the axis title at H - 2 would
    // end below it.
    EXPECT_EQ(textRect(canvas, {10, 80}, {50, 12}), QRectF(0, 74, 50, 12));
    EXPECT_EQ(textRect(canvas, {150, 178}, {80, 12}), QRectF(110, 168, 80, 12));
    EXPECT_EQ(textRect(canvas, {42, 24}, {30, 12}, true), QRectF(12, 18, 30, 12));  // trailing
    EXPECT_EQ(textRect(canvas, {-40, 80}, {50, 12}), std::nullopt);                 // anchored outside
    EXPECT_EQ(textRect(canvas, {NAN, 80}, {50, 12}), std::nullopt);
}

TEST(ScienceChartGeometryTest, CitationLinks) {
    const struct {
        std::optional<QString> doi;
        std::optional<QString> pmc;
        std::optional<QString> url;
    } rows[] = {
        {"10.1126/science.1067262", "PMC123", "https://doi.org/10.1126/science.1067262"},  // DOI first
        {std::nullopt, "PMC2290442", "https://www.ncbi.nlm.nih.gov/pmc/articles/PMC2290442/"},
        {std::nullopt, std::nullopt, std::nullopt},
        {"10.1000/a b", std::nullopt, std::nullopt},  // not a URL
        {"10.1/<a>", std::nullopt, std::nullopt},
    };
    for (const auto& row : rows) {
        Citation citation{"A", "2001", "T", "J", row.doi, row.pmc};
        EXPECT_EQ(citation.url(), row.url) << row.doi.value_or("-").toStdString();
    }
}
