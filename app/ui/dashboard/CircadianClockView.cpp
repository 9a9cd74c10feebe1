#include "app/ui/dashboard/CircadianClockView.h"

#include <QConicalGradient>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "app/state/AppState.h"
#include "app/ui/dashboard/DashboardStyle.h"
#include "app/ui/dashboard/DialGeometry.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/TextStyle.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"

namespace solvara {

using namespace dashboard;

namespace {

QPointF qt(DialPoint p) {
    return {p.x, p.y};
}

QPen strokePen(const QColor& color, double width, Qt::PenCapStyle cap = Qt::FlatCap) {
    QPen pen(color, width, Qt::SolidLine, cap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    return pen;
}

void drawCentered(QPainter& painter, QPointF center, const QString& text, const QFont& font, const QColor& color) {
    painter.setFont(font);
    painter.setPen(color);
    const QFontMetricsF metrics(font);
    const QRectF box(center.x() - 100, center.y() - metrics.height() / 2, 200, metrics.height());
    painter.drawText(box, Qt::AlignCenter, text);
}

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CircadianClockView::CircadianClockView(AppState& state, double clockSize, QWidget* parent)
    : QWidget(parent), state_(state), clockSize_(clockSize) {
    setObjectName("circadianClock");
    const int side = static_cast<int>(DialGeometry(clockSize).side());
    setFixedSize(side, side);
    setAccessibleName(localized("Circadian clock"));
    refresh();
}

void CircadianClockView::refresh() {
    const Date now = Clock::now();
    QString description = fromStd(paddedHourMinuteText(now));
    if (const auto& current = state_.currentState())
        description += ", " + fromStd(std::string(current->phase.displayName()));
    description += ", " + fromStd(kelvinText(state_.effectiveKelvin()));
    if (const auto& coordinate = state_.coordinate()) {
        const SolarEvent events = SolarEvent::events(now, *coordinate);
        if (events.sunrise) description += ". " + localized("Sunrise") + " " + fromStd(hourMinuteText(*events.sunrise));
        if (events.sunset) description += ", " + localized("sunset") + " " + fromStd(hourMinuteText(*events.sunset));
    }
    if (accessibleDescription() != description) setAccessibleDescription(description);

    const DateComponents local = Calendar::localComponents(now);
    Shown shown{faceKeyAt(now), local.hour * 60 + local.minute, std::string(), state_.effectiveKelvin(), false};
    if (const auto& current = state_.currentState()) {
        shown.phase = std::string(current->phase.displayName());
        shown.day = current->solarElevation > 0;
    }
    if (shown_ == shown) return;
    shown_ = std::move(shown);
    update();
}

CircadianClockView::FaceKey CircadianClockView::faceKeyAt(Date now) const {
    return {themeOf(*this).isDark, state_.coordinate(), Calendar::dayKey(now), devicePixelRatioF()};
}

void CircadianClockView::paintFace(QPainter& painter, const Theme& theme,
                                   const std::optional<SolarEvent>& events) const {
    const DialGeometry dial(clockSize_);
    const double r = dial.radius();
    const QPointF center = qt(dial.center());
    const QRectF ring(center.x() - r, center.y() - r, 2 * r, 2 * r);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);

    painter.setPen(strokePen(Theme::withOpacity(theme.secondary, 0.15), 12));
    painter.drawEllipse(ring);

    if (events) {
        const DialArcs arcs = dialArcs(*events);
        auto strokeArc = [&](const DialArc& arc, const QBrush& brush) {
            QPainterPath path;
            path.arcMoveTo(ring, arc.qtStartDegrees());
            path.arcTo(ring, arc.qtStartDegrees(), arc.qtSweepDegrees());
            painter.strokePath(path, QPen(brush, 12, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        };
        const QColor twilight = Theme::withOpacity(theme.orange, 0.25);
        if (arcs.morningTwilight) strokeArc(*arcs.morningTwilight, twilight);
        if (arcs.daylight) {
            QConicalGradient gradient(center, 90.0 - arcs.daylight->end);
            for (const dashboard::GradientStop& stop : daylightConicalStops(*arcs.daylight)) {
                gradient.setColorAt(stop.position, Theme::withOpacity(tintColor(theme, stop.tint), stop.opacity));
            }
            strokeArc(*arcs.daylight, gradient);
        }
        if (arcs.eveningTwilight) strokeArc(*arcs.eveningTwilight, twilight);
    }

    const QFont hourFont = TextStyle::systemFont(9, QFont::Medium);
    for (int hour = 0; hour < 24; ++hour) {
        const bool major = isMajorHour(hour);
        const double angle = hourAngle(hour);
        painter.setPen(strokePen(Theme::withOpacity(theme.secondary, major ? 0.5 : 0.25), major ? 1.5 : 0.8));
        painter.drawLine(qt(dial.point(angle, dial.tickInnerRadius(major))), qt(dial.point(angle, r)));
        if (major) {
            drawCentered(painter, qt(dial.point(angle, dial.hourLabelRadius())), fromStd(format::integer(hour)),
                         hourFont, theme.secondary);
        }
    }

    if (events) {
        auto marker = [&](const std::optional<Date>& event, std::string_view symbol, const QColor& color) {
            if (!event) return;
            const double angle = dialAngle(*event);
            const QPointF at = qt(dial.point(angle, dial.markerRadius()));
            painter.setPen(Qt::NoPen);
            painter.setBrush(Theme::withOpacity(color, 0.25));
            painter.drawEllipse(at, 7, 7);
            painter.setBrush(Qt::NoBrush);
            drawCentered(painter, at, Symbols::glyph(symbol), Symbols::font(10), color);
            drawCentered(painter, qt(dial.point(angle, dial.markerTimeRadius())), fromStd(hourMinuteText(*event)),
                         TextStyle::systemFont(7, QFont::Medium), color);
        };
        marker(events->sunrise, "sunrise.fill", theme.orange);
        marker(events->sunset, "sunset.fill", theme.indigo);
    }
}

void CircadianClockView::paintEvent(QPaintEvent*) {
    const Theme& theme = themeOf(*this);
    const DialGeometry dial(clockSize_);
    const double r = dial.radius();
    const QPointF center = qt(dial.center());
    const Date now = Clock::now();
    const auto& coordinate = state_.coordinate();

    // The face (ring, arcs, ticks, hour numbers, sunrise and sunset) changes only with the
    // theme, the place and the day, so it is drawn once for them and reused.
    const qreal ratio = devicePixelRatioF();
    FaceKey key = faceKeyAt(now);
    if (!(key == faceKey_) || face_.isNull()) {
        std::optional<SolarEvent> events;
        if (coordinate) events = SolarEvent::events(now, *coordinate);
        face_ = QPixmap(size() * ratio);
        face_.setDevicePixelRatio(ratio);
        face_.fill(Qt::transparent);
        QPainter facePainter(&face_);
        paintFace(facePainter, theme, events);
        faceKey_ = std::move(key);
    }

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(0, 0, face_);

    const double nowAngle = dialAngle(now);
    painter.setPen(strokePen(Theme::withOpacity(theme.accent, 0.5), 1.5));
    painter.drawLine(center, qt(dial.point(nowAngle, dial.handRadius())));
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme.accent);
    painter.drawEllipse(center, 2.5, 2.5);

    const auto& current = state_.currentState();
    const bool day = current && current->solarElevation > 0;
    const QPointF sun = qt(dial.point(nowAngle, r));
    // The glow is a disc of 18 blurred by 3: a radial fade out to 12.
    const QColor glow = day ? Theme::withOpacity(theme.yellow, 0.3) : Theme::withOpacity(theme.blue, 0.2);
    QRadialGradient blur(sun, 12);
    blur.setColorAt(0.0, glow);
    blur.setColorAt(0.5, glow);
    blur.setColorAt(1.0, Theme::withOpacity(glow, 0.0));
    painter.setBrush(blur);
    painter.drawEllipse(sun, 12, 12);
    painter.setBrush(Qt::NoBrush);
    QFont symbolFont = Symbols::font(11);
    symbolFont.setWeight(QFont::DemiBold);
    drawCentered(painter, sun, Symbols::glyph(day ? "sun.max.fill" : "moon.fill"), symbolFont,
                 day ? theme.yellow : Theme::withOpacity(theme.blue, 0.8));

    QFont timeFont = TextStyle::font(TextStyle::title3);
    timeFont.setWeight(QFont::DemiBold);
    const QFont phaseFont = TextStyle::font(TextStyle::caption2);
    const QFont kelvinFont = TextStyle::font(TextStyle::caption2);
    const double timeHeight = QFontMetricsF(timeFont).height();
    const double lineHeight = QFontMetricsF(phaseFont).height();
    const double top = center.y() - (timeHeight + 2 * lineHeight + 4) / 2;
    drawCentered(painter, {center.x(), top + timeHeight / 2}, fromStd(paddedHourMinuteText(now)), timeFont,
                 theme.primary);
    const QString phase = current ? fromStd(std::string(current->phase.displayName())) : QStringLiteral("--");
    drawCentered(painter, {center.x(), top + timeHeight + 2 + lineHeight / 2}, phase, phaseFont, theme.secondary);
    const std::int64_t kelvin = state_.effectiveKelvin();
    drawCentered(painter, {center.x(), top + timeHeight + 4 + lineHeight * 1.5}, fromStd(kelvinText(kelvin)),
                 kelvinFont, kelvinColor(theme, kelvin));
}

}  // namespace solvara
