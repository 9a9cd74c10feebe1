#include "app/ui/breaks/BreathingCircle.h"

#include <QEasingCurve>
#include <QPainter>
#include <QRadialGradient>
#include <QSequentialAnimationGroup>
#include <QVariantAnimation>

#include "app/ui/kit/Theme.h"

namespace solvara {

namespace {

// The standard ease-in-out timing curve.
QEasingCurve easeInOut() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0.0), QPointF(0.58, 1.0), QPointF(1.0, 1.0));
    return curve;
}

}  // namespace

BreathingCircle::BreathingCircle(std::int64_t remainingSeconds, QColor cyan, QWidget* parent)
    : QWidget(parent), remainingSeconds_(remainingSeconds), cyan_(cyan), breath_(new QSequentialAnimationGroup(this)) {
    setObjectName("breathingCircle");
    setFixedSize(diameter, diameter);
    setAttribute(Qt::WA_TranslucentBackground);
    for (const auto& [from, to] : {std::pair{smallestScale, 1.0}, std::pair{1.0, smallestScale}}) {
        auto* half = new QVariantAnimation(breath_);  // owned by the group
        half->setStartValue(from);
        half->setEndValue(to);
        half->setDuration(halfBreathMilliseconds);
        half->setEasingCurve(easeInOut());
        QObject::connect(half, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            scale_ = value.toDouble();
            update();
        });
        breath_->addAnimation(half);
    }
    breath_->setLoopCount(-1);
}

BreathingCircle::~BreathingCircle() {
    breath_->stop();
}

bool BreathingCircle::isBreathing() const {
    return breath_->state() == QAbstractAnimation::Running;
}

void BreathingCircle::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!isBreathing()) breath_->start();
}

void BreathingCircle::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Off screen the breath ends; the next appearance starts from the small circle again.
    breath_->stop();
    scale_ = smallestScale;
}

void BreathingCircle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF center(width() / 2.0, height() / 2.0);
    painter.translate(center);
    painter.scale(scale_, scale_);

    const double radius = diameter / 2.0;
    QRadialGradient glow(QPointF(0, 0), radius);
    // Solid up to 20 points from the centre, fading out to the rim at 80.
    glow.setColorAt(20.0 / radius, Theme::withOpacity(cyan_, 0.6));
    glow.setColorAt(1.0, Theme::withOpacity(cyan_, 0.1));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(0, 0), radius, radius);
}

}  // namespace solvara
