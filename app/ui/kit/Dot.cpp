#include "app/ui/kit/Dot.h"

#include <QPainter>

namespace solvara {

Dot::Dot(int diameter, ColorRole color, QWidget* parent) : QWidget(parent), color_(color) {
    setFixedSize(diameter, diameter);
}

void Dot::setColor(ColorRole color, double opacity) {
    if (color == color_ && opacity == opacity_) return;
    color_ = color;
    opacity_ = opacity;
    update();
}

void Dot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color());
    painter.drawEllipse(QRectF(rect()));
}

}  // namespace solvara
