#include "app/ui/kit/Card.h"

#include <QPainter>

namespace solvara {

Card::Card(QWidget* parent, ColorRole fill, double opacity, double radius)
    : QWidget(parent), fill_(fill), opacity_(opacity), radius_(radius) {
    setContentsMargins(margin, margin, margin, margin);
}

void Card::setFill(ColorRole fill, double opacity) {
    if (fill == fill_ && opacity == opacity_) return;
    fill_ = fill;
    opacity_ = opacity;
    update();
}

void Card::setBorder(bool border) {
    border_ = border;
    update();
}

void Card::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(border_ ? QPen(theme.separator, 1) : Qt::NoPen);
    painter.setBrush(Theme::withOpacity(theme.*fill_, opacity_));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius_, radius_);
}

}  // namespace solvara
