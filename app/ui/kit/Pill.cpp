#include "app/ui/kit/Pill.h"

#include <QFontMetrics>
#include <QPainter>

namespace solvara {

Pill::Pill(const QString& text, const QFont& font, QWidget* parent) : QWidget(parent) {
    setFont(font);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setText(text);
}

void Pill::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void Pill::setColors(ColorRole text, ColorRole fill, double fillOpacity) {
    textColor_ = text;
    fill_ = fill;
    fillOpacity_ = fillOpacity;
    update();
}

QSize Pill::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text_) + 2 * horizontalPadding, metrics.height() + 2 * verticalPadding};
}

void Pill::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    const double radius = bounds.height() / 2.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::withOpacity(theme.*fill_, fillOpacity_));
    painter.drawRoundedRect(bounds, radius, radius);
    painter.setPen(theme.*textColor_);
    painter.setFont(font());
    painter.drawText(bounds, Qt::AlignCenter, text_);
}

}  // namespace solvara
