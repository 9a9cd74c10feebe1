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
    if (progress_ >= 1.0) return to;
    // Between premultiplied colours, so that a faint colour lends little of its hue.
    const double p = progress_;
    const double alpha = from_.alphaF() + (to.alphaF() - from_.alphaF()) * p;
    if (alpha <= 0.0) return Qt::transparent;
    const auto mix = [&](double a, double b) { return (a * from_.alphaF() * (1.0 - p) + b * to.alphaF() * p) / alpha; };
    QColor color;
    color.setRgbF(static_cast<float>(mix(from_.redF(), to.redF())),
                  static_cast<float>(mix(from_.greenF(), to.greenF())),
                  static_cast<float>(mix(from_.blueF(), to.blueF())), static_cast<float>(alpha));
    return color;
}

void Dot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(paintedColor());
    painter.drawEllipse(QRectF(rect()));
}

}  // namespace solvara
