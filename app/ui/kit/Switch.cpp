#include "app/ui/kit/Switch.h"

#include <QPainter>

#include "app/ui/kit/Theme.h"

namespace solvara {

Switch::Switch(const QString& accessibleName, QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(accessibleName);
    describe();
}

QSize Switch::sizeHint() const {
    return {trackWidth + 4, trackHeight + 4};
}

void Switch::checkStateSet() {
    QAbstractButton::checkStateSet();
    describe();
}

void Switch::nextCheckState() {
    QAbstractButton::nextCheckState();
    describe();
}

void Switch::describe() {
    setAccessibleDescription(isChecked() ? "On" : "Off");
}

void Switch::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track((width() - trackWidth) / 2.0, (height() - trackHeight) / 2.0, trackWidth, trackHeight);
    const double radius = trackHeight / 2.0;
    QColor fill = isChecked() ? theme.accent : Theme::withOpacity(theme.secondary, theme.isDark ? 0.6 : 0.35);
    if (!isEnabled()) fill = Theme::withOpacity(fill, 0.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);

    const double knob = trackHeight - 4.0;
    const double x = isChecked() ? track.right() - 2.0 - knob : track.left() + 2.0;
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(QRectF(x, track.top() + 2.5, knob, knob));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(QRectF(x, track.top() + 2.0, knob, knob));

    // The ring only once the keyboard moved the focus, as the style does for its own controls.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Theme::withOpacity(theme.accent, 0.6), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track.adjusted(-1.5, -1.5, 1.5, 1.5), radius + 1.5, radius + 1.5);
    }
}

}  // namespace solvara
