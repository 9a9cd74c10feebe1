#include "app/ui/science/ScienceCharts.h"

#include <array>
#include <utility>

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "app/ui/kit/Localized.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/science/ScienceChartGeometry.h"
#include "core/foundation/Format.h"

namespace solvara {

namespace {

using science::Plot;

QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}
QFont system(int pixels, QFont::Weight weight = QFont::Normal) {
    return TextStyle::systemFont(pixels, weight);
}
QColor white(double opacity = 1.0) {
    return Theme::withOpacity(Qt::white, opacity);
}

void paintText(QPainter& painter, QSizeF canvas, QPointF anchor, const QString& text, const QFont& font,
               const QColor& color, bool trailing = false) {
    const QFontMetricsF metrics(font);
    const auto rect =
        science::textRect(canvas, anchor, QSizeF(metrics.horizontalAdvance(text), metrics.height()), trailing);
    if (!rect) return;
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(*rect, Qt::AlignCenter | Qt::TextDontClip, text);
}

// The design's strokes: butt caps, miter joins, miter limit 10; dashed ones start at phase 0.
QPen stroke(const QColor& color, double width, std::initializer_list<double> dashes = {}) {
    QPen pen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    if (dashes.size() > 0) {
        // Qt measures dashes in pen widths.
        QList<qreal> pattern;
        for (double d : dashes) pattern.append(d / width);
        pen.setDashPattern(pattern);
    }
    return pen;
}

QPainterPath polyline(const std::vector<QPointF>& points) {
    QPainterPath path;
    if (points.empty()) return path;
    path.moveTo(points.front());
    for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
    return path;
}

void strokeLine(QPainter& painter, QPointF from, QPointF to, const QPen& pen) {
    painter.setPen(pen);
    painter.drawLine(from, to);
}

// The visible spectrum as seven horizontal gradients between eight stops.
void drawSpectrumBand(QPainter& painter, const Plot& plot, const Theme& theme, double opacity) {
    const std::array<std::pair<double, QColor>, 8> stops{{{380, theme.purple},
                                                          {440, theme.blue},
                                                          {480, theme.cyan},
                                                          {520, theme.green},
                                                          {570, theme.yellow},
                                                          {600, theme.orange},
                                                          {700, theme.red},
                                                          {780, theme.red}}};
    for (std::size_t i = 0; i + 1 < stops.size(); ++i) {
        const double x0 = science::wavelengthX(plot, stops[i].first);
        const double x1 = science::wavelengthX(plot, stops[i + 1].first);
        QLinearGradient gradient(QPointF(x0, plot.top), QPointF(x1, plot.top));
        gradient.setColorAt(0, Theme::withOpacity(stops[i].second, opacity));
        gradient.setColorAt(1, Theme::withOpacity(stops[i + 1].second, opacity));
        painter.fillRect(QRectF(x0, plot.top, x1 - x0, plot.height), gradient);
    }
}

void drawWavelengthAxis(QPainter& painter, QSizeF canvas, const Plot& plot, const Theme& theme, double tickY) {
    for (int nm : science::wavelengthTicks()) {
        paintText(painter, canvas, QPointF(science::wavelengthX(plot, nm), tickY), fromStd(format::integer(nm)),
                  system(9), theme.secondary);
    }
    paintText(painter, canvas, QPointF(plot.left + plot.width / 2, canvas.height() - 2), localized("Wavelength (nm)"),
              system(9), theme.secondary);
}

}  // namespace

// --- Canvas ---------------------------------------------------------------------------------

ChartCanvas::ChartCanvas(int height, double cornerRadius, QWidget* parent)
    : QWidget(parent), cornerRadius_(cornerRadius) {
    setFixedHeight(height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ChartCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF canvas = size();
    QPainterPath shape;
    shape.addRoundedRect(QRectF(QPointF(0, 0), canvas), cornerRadius_, cornerRadius_);
    painter.fillPath(shape, QColor(0, 0, 0, 77));
    // The plots keep clear of the rounded corners, so a plain rectangle clips them: a rounded
    // clip path would make every one of the charts' hundreds of small fills several times dearer.
    painter.setClipRect(QRectF(QPointF(0, 0), canvas));
    draw(painter, canvas, Theme::of(this));
}

void ChartCanvas::drawText(QPainter& painter, QSizeF canvas, QPointF anchor, const QString& text, const QFont& font,
                           const QColor& color, bool trailing) {
    paintText(painter, canvas, anchor, text, font, color, trailing);
}

// --- Melanopsin ------------------------------------------------------------------------------

MelanopsinSpectrumChart::MelanopsinSpectrumChart(QWidget* parent) : ChartCanvas(180, 8, parent) {
    setObjectName("melanopsinSpectrumChart");
    setAccessibleName(localized("Melanopsin sensitivity chart"));
    setAccessibleDescription(
        localized("Melanopsin sensitivity across the visible spectrum from 380 to 780 nm, peaking at 480 nm"));
}

void MelanopsinSpectrumChart::draw(QPainter& painter, QSizeF canvas, const Theme& theme) const {
    const Plot plot = Plot::inside(canvas, 40, 20);
    if (!plot.drawable()) return;
    drawSpectrumBand(painter, plot, theme, 0.25);
    painter.setPen(stroke(theme.cyan, 2.5));
    painter.drawPath(polyline(science::melanopsinCurve(plot, 1.0)));
    const double peakX = science::wavelengthX(plot, 480);
    strokeLine(painter, QPointF(peakX, plot.top), QPointF(peakX, plot.bottom()), stroke(white(0.7), 1, {4, 3}));
    drawText(painter, canvas, QPointF(peakX, 12), localized("480nm"), TextStyle::font(TextStyle::caption2), white());
    drawWavelengthAxis(painter, canvas, plot, theme, plot.height + 34);
    drawText(painter, canvas, QPointF(10, plot.top + plot.height / 2), localized("Sensitivity"), system(9),
             theme.secondary);
}

// --- Phase response --------------------------------------------------------------------------

PhaseResponseChart::PhaseResponseChart(int wakeHour, QWidget* parent)
    : ChartCanvas(200, 8, parent), wakeHour_(wakeHour) {
    setObjectName("phaseResponseChart");
    setAccessibleName(localized("Phase response chart"));
    setAccessibleDescription(
        localized("Light before the core body temperature minimum delays the body clock by up "
                  "to 1.5 hours; light after it advances the clock by up to 2.5 hours"));
}

void PhaseResponseChart::draw(QPainter& painter, QSizeF canvas, const Theme& theme) const {
    const Plot plot = Plot::inside(canvas, 50, 20);
    if (!plot.drawable()) return;
    const double midY = plot.top + plot.height / 2;
    const double midX = plot.left + plot.width / 2;
    strokeLine(painter, QPointF(plot.left, midY), QPointF(plot.right(), midY), stroke(white(0.3), 0.5));
    painter.fillRect(QRectF(plot.left, plot.top, plot.width / 2, plot.height), Theme::withOpacity(theme.orange, 0.08));
    painter.fillRect(QRectF(midX, plot.top, plot.width / 2, plot.height), Theme::withOpacity(theme.blue, 0.08));
    painter.fillRect(QRectF(midX, plot.top, plot.width / 4, plot.height), Theme::withOpacity(theme.green, 0.12));
    painter.setPen(stroke(theme.orange, 2.5));
    painter.drawPath(polyline(science::phaseCurve(plot)));
    strokeLine(painter, QPointF(midX, plot.top), QPointF(midX, plot.height + plot.top), stroke(white(0.5), 1, {4, 3}));

    drawText(painter, canvas, QPointF(midX, 12), localized("CBTmin"), system(9, QFont::Medium), white());
    drawText(painter, canvas, QPointF(plot.left + plot.width / 4, 32), localized("Phase Delay"), system(9),
             Theme::withOpacity(theme.orange, 0.8));
    drawText(painter, canvas, QPointF(plot.left + 3 * plot.width / 4, plot.height + 8), localized("Phase Advance"),
             system(9), Theme::withOpacity(theme.blue, 0.8));
    drawText(painter, canvas, QPointF(plot.left + 0.625 * plot.width, plot.height - 4), localized("Morning Window"),
             system(8, QFont::Medium), theme.green);

    drawText(painter, canvas, QPointF(42, 24), localized("+Delay"), system(9), theme.secondary, true);
    drawText(painter, canvas, QPointF(42, midY), localized("0h"), system(9), theme.secondary, true);
    drawText(painter, canvas, QPointF(42, plot.height + 16), localized("\u2212Advance"), system(9), theme.secondary,
             true);
    for (int hours : {-12, -8, -4, 0, 4, 8, 12}) {
        drawText(painter, canvas, QPointF(science::phaseX(plot, hours), plot.height + 34),
                 fromStd(science::phaseTickLabel(hours)), system(9), theme.secondary);
    }
    drawText(painter, canvas, QPointF(midX, canvas.height() - 2), localized("Hours from CBTmin"), system(9),
             theme.secondary);
}

// --- Red light -------------------------------------------------------------------------------

RedLightSpectrumChart::RedLightSpectrumChart(QWidget* parent) : ChartCanvas(170, 8, parent) {
    setObjectName("redLightSpectrumChart");
    setAccessibleName(localized("Red light filter chart"));
    setAccessibleDescription(
        localized("Everything below the 590 nm cutoff is blocked, covering melanopsin's "
                  "sensitivity; longer wavelengths pass"));
}

void RedLightSpectrumChart::draw(QPainter& painter, QSizeF canvas, const Theme& theme) const {
    const Plot plot = Plot::inside(canvas, 40, 16);
    if (!plot.drawable()) return;
    const double xc = science::cutoffX(plot);
    drawSpectrumBand(painter, plot, theme, 0.3);
    painter.fillRect(QRectF(plot.left, plot.top, xc - plot.left, plot.height), QColor(0, 0, 0, 153));
    painter.setPen(stroke(Theme::withOpacity(theme.red, 0.3), 0.5));
    const auto hatches = science::hatchLines(plot);
    painter.drawLines(hatches.data(), static_cast<int>(hatches.size()));
    painter.setPen(stroke(Theme::withOpacity(theme.cyan, 0.7), 1.5));
    painter.drawPath(polyline(science::melanopsinCurve(plot, 0.8)));
    strokeLine(painter, QPointF(xc, plot.top), QPointF(xc, plot.height + plot.top), stroke(white(), 1.5));

    drawText(painter, canvas, QPointF(xc, 8), localized("590nm cutoff"), system(9, QFont::Medium), white());
    drawText(painter, canvas, QPointF(plot.left + (xc - plot.left) / 2, plot.top + plot.height / 2),
             localized("BLOCKED"), system(10, QFont::Bold), Theme::withOpacity(theme.red, 0.8));
    drawText(painter, canvas, QPointF(xc + (plot.right() - xc) / 2, plot.top + plot.height / 2), localized("PASSED"),
             system(10, QFont::Bold), Theme::withOpacity(theme.green, 0.8));
    drawWavelengthAxis(painter, canvas, plot, theme, plot.height + 30);
}

// --- Melanopic ratio -------------------------------------------------------------------------

MelanopicRatioChart::MelanopicRatioChart(std::int64_t currentKelvin, QWidget* parent)
    : ChartCanvas(200, 8, parent), currentKelvin_(currentKelvin) {
    setObjectName("melanopicRatioChart");
    setAccessibleName(localized("Melanopic ratio chart"));
    setCurrentKelvin(currentKelvin);
}

void MelanopicRatioChart::setCurrentKelvin(std::int64_t kelvin) {
    currentKelvin_ = kelvin;
    setAccessibleDescription(localized("Melanopic to photopic ratio from 1800 to 6500 K; the display now: ") +
                             fromStd(science::ratioMarker(Plot{}, kelvin).label));
    update();
}

void MelanopicRatioChart::draw(QPainter& painter, QSizeF canvas, const Theme& theme) const {
    const Plot plot = Plot::inside(canvas, 50, 20);
    if (!plot.drawable()) return;
    for (int j = 0; j <= 5; ++j) {
        const double ratio = 0.5 + 0.1 * j;
        const double y = science::ratioY(plot, ratio);
        strokeLine(painter, QPointF(plot.left, y), QPointF(plot.right(), y), stroke(white(0.1), 0.5));
        drawText(painter, canvas, QPointF(42, y), fromStd(format::fixed(ratio, 1)), system(9), theme.secondary, true);
    }
    // One column a pixel, each its own warm tint: drawn as one row of pixels stretched down.
    const int n = plot.sampleCount();
    QImage strips(n, 1, QImage::Format_ARGB32);
    for (int i = 0; i < n; ++i) {
        const double t = 1 - static_cast<double>(science::columnKelvin(i, n) - 1800) / 4700;
        strips.setPixelColor(
            i, 0, QColor::fromRgbF(1, static_cast<float>(0.5 + 0.2 * t), static_cast<float>(0.3 * t), 0.06f));
    }
    painter.drawImage(QRectF(plot.left, plot.top, n, plot.height), strips);
    const auto curve = science::ratioCurve(plot);
    QPainterPath area;
    area.moveTo(plot.left, plot.height + plot.top);
    for (const QPointF& p : curve) area.lineTo(p);
    area.lineTo(plot.right(), plot.height + plot.top);
    area.closeSubpath();
    painter.fillPath(area, Theme::withOpacity(theme.blue, 0.1));
    painter.setPen(stroke(theme.blue, 2.5));
    painter.drawPath(polyline(curve));

    const science::Marker marker = science::ratioMarker(plot, currentKelvin_);
    const QPointF m = marker.point;
    strokeLine(painter, QPointF(m.x(), plot.top), QPointF(m.x(), plot.height + plot.top),
               stroke(white(0.4), 1, {3, 3}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(m, 5, 5);
    painter.setBrush(theme.blue);
    painter.drawEllipse(m, 3, 3);
    painter.setBrush(Qt::NoBrush);
    drawText(painter, canvas, QPointF(m.x(), m.y() - 14), fromStd(marker.label), system(9, QFont::Medium), white());

    for (int kelvin = 2000; kelvin <= 6500; kelvin += 500) {
        drawText(painter, canvas, QPointF(science::kelvinX(plot, kelvin), plot.height + 34),
                 fromStd(format::integer(kelvin)), system(8), theme.secondary);
    }
    drawText(painter, canvas, QPointF(plot.left + plot.width / 2, canvas.height() - 2),
             localized("Color Temperature (K)"), system(9), theme.secondary);
    drawText(painter, canvas, QPointF(10, plot.top + plot.height / 2), localized("M/P Ratio"), system(9),
             theme.secondary);
}

// --- PWM -------------------------------------------------------------------------------------

namespace {

class FlickerCanvas : public ChartCanvas {
public:
    explicit FlickerCanvas(QWidget* parent) : ChartCanvas(60, 6, parent) {}

protected:
    void draw(QPainter& painter, QSizeF canvas, const Theme& theme) const override {
        if (canvas.width() <= 16) return;
        painter.setPen(stroke(theme.red, 2));
        painter.drawPath(polyline(science::flickerWave(canvas)));
        const double period = (canvas.width() - 16) / 5;
        for (int k = 0; k < 5; ++k) {
            drawText(painter, canvas, QPointF(8 + period * (k + 0.7), canvas.height() / 2), QString::fromUtf8("⚡"),
                     system(8), theme.primary);
        }
    }
};

class ConstantCanvas : public ChartCanvas {
public:
    explicit ConstantCanvas(QWidget* parent) : ChartCanvas(60, 6, parent) {}

protected:
    void draw(QPainter& painter, QSizeF canvas, const Theme& theme) const override {
        if (canvas.width() <= 16) return;
        const double y = science::constantLevelY(canvas);
        strokeLine(painter, QPointF(8, y), QPointF(canvas.width() - 8, y), stroke(theme.green, 2.5));
        QPainterPath area;
        area.moveTo(8, y);
        area.lineTo(canvas.width() - 8, y);
        area.lineTo(canvas.width() - 8, canvas.height() - 8);
        area.lineTo(8, canvas.height() - 8);
        area.closeSubpath();
        painter.fillPath(area, Theme::withOpacity(theme.green, 0.15));
        drawText(painter, canvas, QPointF(canvas.width() / 2, y - 10), localized("Constant"), system(9, QFont::Medium),
                 Theme::withOpacity(theme.green, 0.7));
    }
};

QWidget* captioned(ChartCanvas* canvas, const char* caption, QColor Theme::*color, QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(6);
    canvas->setParent(column);
    stack->addWidget(canvas);
    auto* label = new StyledLabel(localized(caption), TextStyle::systemFont(10, QFont::Medium), color, column);
    label->setAlignment(Qt::AlignCenter);
    stack->addWidget(label);
    canvas->setAccessibleName(localized(caption));
    return column;
}

}  // namespace

PWMWaveformChart::PWMWaveformChart(QWidget* parent) : QWidget(parent) {
    setObjectName("pwmWaveformChart");
    setAccessibleName(localized("PWM flicker chart"));
    setAccessibleDescription(
        localized("PWM dimming switches the backlight on and off; software dimming keeps a "
                  "constant level"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(16);
    row->addWidget(captioned(new FlickerCanvas(this), "PWM Dimming (Flicker)", &Theme::red, this));
    row->addWidget(captioned(new ConstantCanvas(this), "Software Dimming (No Flicker)", &Theme::green, this));
}

// --- 20-20-20 --------------------------------------------------------------------------------

TwentyTwentyTwentyChart::TwentyTwentyTwentyChart(QWidget* parent) : QWidget(parent) {
    setObjectName("twentyTwentyTwentyChart");
    setAccessibleName(localized("The 20-20-20 rule"));
    setAccessibleDescription(localized("Every 20 minutes, look 20 feet away for 20 seconds"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 20, 16, 20);
    row->setSpacing(24);
    struct Tile {
        const char* symbol;
        QColor Theme::*color;
        const char* label;
    };
    const std::array<Tile, 3> tiles{{{"timer", &Theme::blue, "minutes"},
                                     {"eye", &Theme::green, "feet away"},
                                     {"clock.arrow.circlepath", &Theme::orange, "seconds"}}};
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (i > 0) {
            auto* arrow = new SymbolView("arrow.right", 13, &Theme::secondary, this);
            row->addWidget(arrow);
        }
        auto* tile = new QWidget(this);
        auto* stack = new QVBoxLayout(tile);
        stack->setContentsMargins(0, 0, 0, 0);
        stack->setSpacing(8);
        auto* symbol = new SymbolView(tiles[i].symbol, 28, tiles[i].color, tile);
        symbol->setAlignment(Qt::AlignCenter);
        stack->addWidget(symbol);
        auto* twenty = new StyledLabel("20", TextStyle::systemFont(32, QFont::Bold), &Theme::primary, tile);
        auto* label = new StyledLabel(localized(tiles[i].label), TextStyle::caption, &Theme::secondary, tile);
        for (QLabel* l : {twenty, label}) {
            l->setAlignment(Qt::AlignCenter);
            stack->addWidget(l);
        }
        row->addWidget(tile, 1);
    }
}

void TwentyTwentyTwentyChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 8, 8);
    painter.fillPath(shape, QColor(0, 0, 0, 38));
}

}  // namespace solvara
