#include "platform/linux/OverlayWidget.h"

#include <cmath>
#include <type_traits>

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace solvara {

namespace {

QColor toQColor(Color color) {
    auto unit = [](double v) { return static_cast<float>(std::fmin(std::fmax(std::isnan(v) ? 0.0 : v, 0.0), 1.0)); };
    return QColor::fromRgbF(unit(color.red), unit(color.green), unit(color.blue), unit(color.alpha));
}

// The window without a disc around `center`: the gradient and the veil leave that disc alone.
QPainterPath outside(const QRectF& bounds, QPointF center, double radius) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addRect(bounds);
    if (radius > 0) path.addEllipse(center, radius, radius);
    return path;
}

void paintGradient(QPainter& painter, const QRectF& bounds, const RadialGradient& gradient) {
    const QPointF center(gradient.center.x, gradient.center.y);
    const double start = std::fmax(gradient.startRadius, 0.0);
    const double end = gradient.endRadius;
    if (!(end > start)) {
        // No room for a ramp: everything from the start circle out takes the last colour.
        painter.fillPath(outside(bounds, center, start), toQColor(gradient.stops.back().color));
        return;
    }
    // Qt's gradient runs from the centre to `end`; the stops are moved onto the part beyond
    // `start`, and padding fills beyond `end` with the last colour.
    QRadialGradient brush(center, end);
    brush.setSpread(QGradient::PadSpread);
    brush.setInterpolationMode(QGradient::ColorInterpolation);
    for (const GradientStop& stop : gradient.stops) {
        const double location = std::fmin(std::fmax(stop.location, 0.0), 1.0);
        brush.setColorAt((start + location * (end - start)) / end, toQColor(stop.color));
    }
    painter.fillPath(outside(bounds, center, start), brush);
}

void paintSpotlight(QPainter& painter, const QRectF& bounds, const SpotlightCutout& spotlight) {
    painter.fillRect(bounds, toQColor(spotlight.veil));
    if (spotlight.radius > 0) {
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPointF(spotlight.center.x, spotlight.center.y), spotlight.radius, spotlight.radius);
    }
}

}  // namespace

OverlayWidget::OverlayWidget(const OverlayWindowSpec& spec)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                           Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                           (spec.ignoresMouse ? Qt::WindowTransparentForInput : Qt::WindowFlags()) |
                           (spec.hasShadow ? Qt::WindowFlags() : Qt::NoDropShadowWindowHint)),
      frame_(spec.frame),
      background_(spec.background),
      drawing_(spec.drawing) {
    // Both must be set before the native window exists: the first picks a 32-bit visual.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents, spec.ignoresMouse);
    setFocusPolicy(Qt::NoFocus);
    setProperty(levelProperty, spec.level);
    setGeometry(static_cast<int>(std::floor(spec.frame.x)), static_cast<int>(std::floor(spec.frame.y)),
                static_cast<int>(std::ceil(spec.frame.width)), static_cast<int>(std::ceil(spec.frame.height)));
}

void OverlayWidget::setBackground(Color color) {
    background_ = color;
    update();
}

void OverlayWidget::setDrawing(const OverlayDrawing& drawing) {
    drawing_ = drawing;
    update();
}

void OverlayWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF bounds = rect();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(bounds, toQColor(background_));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    std::visit(
        [&](const auto& drawing) {
            using Kind = std::decay_t<decltype(drawing)>;
            if constexpr (std::is_same_v<Kind, RadialGradient>) {
                paintGradient(painter, bounds, drawing);
            } else if constexpr (std::is_same_v<Kind, SpotlightCutout>) {
                paintSpotlight(painter, bounds, drawing);
            }
        },
        drawing_);
}

}  // namespace solvara
