#include "app/ui/kit/Dot.h"

#include <QPainter>
#include <QVariantAnimation>

#include "app/ui/kit/Transition.h"

namespace solvara {

Dot::Dot(int diameter, ColorRole color, QWidget* parent)
    : QWidget(parent),
      color_(color),
      animation_(motion::progressAnimation(this, [this](double progress) { progress_ = progress; })) {
    setFixedSize(diameter, diameter);
}

void Dot::setColor(ColorRole color, double opacity, int milliseconds) {
    if (color == color_ && opacity == opacity_) return;
    // A change during a change starts from what is on screen.
    const QColor painted = paintedColor();
    color_ = color;
    opacity_ = opacity;
    animation_->stop();
    progress_ = 1.0;
    if (milliseconds > 0 && isVisible()) {
        from_ = painted;
        progress_ = 0.0;
        animation_->setDuration(milliseconds);
        animation_->start();
    }
    update();
}

QColor Dot::paintedColor() const {
    const QColor to = color();
    return progress_ >= 1.0 ? to : Theme::mixed(from_, to, progress_);
}

void Dot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(paintedColor());
    painter.drawEllipse(QRectF(rect()));
}

}  // namespace solvara
