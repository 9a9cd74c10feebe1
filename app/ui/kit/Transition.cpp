#include "app/ui/kit/Transition.h"

#include <algorithm>
#include <utility>

#include <QPainter>
#include <QVariantAnimation>
#include <QWidget>

namespace solvara {

QEasingCurve motion::easeInOut() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0.0), QPointF(0.58, 1.0), QPointF(1.0, 1.0));
    return curve;
}

QVariantAnimation* motion::progressAnimation(QWidget* widget, std::function<void(double)> frame) {
    auto* animation = new QVariantAnimation(widget);
    animation->setEasingCurve(easeInOut());
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    QObject::connect(animation, &QVariantAnimation::valueChanged, widget, [widget, frame](const QVariant& value) {
        frame(value.toDouble());
        widget->update();
    });
    QObject::connect(animation, &QAbstractAnimation::finished, widget, [widget, frame] {
        frame(1.0);
        widget->update();
    });
    return animation;
}

TransitionEffect::TransitionEffect(QObject* parent) : QGraphicsEffect(parent) {}

void TransitionEffect::setFrame(double opacity, QPointF offset, double scale) {
    if (opacity == opacity_ && offset == offset_ && scale == scale_) return;
    opacity_ = opacity;
    offset_ = offset;
    scale_ = scale;
    update();
}

void TransitionEffect::setMargins(const QMarginsF& margins) {
    if (margins == margins_) return;
    margins_ = margins;
    updateBoundingRect();
}

void TransitionEffect::setClipped(bool clipped) {
    if (clipped == clipped_) return;
    clipped_ = clipped;
    updateBoundingRect();
}

QRectF TransitionEffect::boundingRectFor(const QRectF& rect) const {
    return clipped_ ? rect : rect.marginsAdded(margins_);
}

void TransitionEffect::setRoom(std::function<QRectF()> room) {
    room_ = std::move(room);
    update();
}

void TransitionEffect::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void TransitionEffect::draw(QPainter* painter) {
    if (opacity_ <= 0.0) return;
    if (picture_.isNull() && !room_ && opacity_ >= 1.0 && offset_.isNull() && scale_ == 1.0) {
        drawSource(painter);
        return;
    }
    // Through a picture, so that the widget's own layers fade as one.
    QPoint origin;
    const QPixmap picture =
        picture_.isNull() ? sourcePixmap(Qt::LogicalCoordinates, &origin, QGraphicsEffect::NoPad) : picture_;
    if (picture.isNull()) return;
    const QRectF source = sourceBoundingRect(Qt::LogicalCoordinates);
    painter->save();
    if (clipped_) painter->setClipRect(source, Qt::IntersectClip);
    if (room_) painter->setClipRect(room_(), Qt::IntersectClip);
    painter->setOpacity(painter->opacity() * opacity_);
    painter->translate(offset_ + source.center());
    painter->scale(scale_, scale_);
    painter->translate(-source.center());
    painter->drawPixmap(origin, picture);
    painter->restore();
}

namespace {

// What a leaving widget looked like, standing in its place while it leaves.
class Ghost : public QWidget {
public:
    Ghost(const QPixmap& picture, const QRect& geometry, QWidget* parent) : QWidget(parent), picture_(picture) {
        setObjectName("transitionGhost");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(geometry);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap(0, 0, picture_);
    }

private:
    QPixmap picture_;
};

}  // namespace

WidgetTransition::WidgetTransition(QWidget* target, TransitionStyle style)
    : QObject(target),
      target_(target),
      style_(style),
      presence_(new QVariantAnimation(this)),
      slider_(new QVariantAnimation(this)) {
    presence_->setDuration(style.milliseconds);
    presence_->setEasingCurve(motion::easeInOut());
    slider_->setEasingCurve(motion::easeInOut());
    connect(presence_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        shown_ = value.toDouble();
        applyFrame();
    });
    connect(slider_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        slideOffset_ = value.toPointF();
        applyFrame();
    });
    connect(presence_, &QAbstractAnimation::finished, this, &WidgetTransition::finish);
    connect(slider_, &QAbstractAnimation::finished, this, &WidgetTransition::finish);
}

WidgetTransition::~WidgetTransition() {
    delete ghost_;
}

bool WidgetTransition::isRunning() const {
    return presence_->state() == QAbstractAnimation::Running || slider_->state() == QAbstractAnimation::Running;
}

TransitionEffect* WidgetTransition::effectOn(QWidget* widget) {
    auto* effect = dynamic_cast<TransitionEffect*>(widget->graphicsEffect());
    if (effect == nullptr) {
        effect = new TransitionEffect(widget);
        widget->setGraphicsEffect(effect);
    }
    return effect;
}

void WidgetTransition::setShown(bool shown, bool animated) {
    if (target_->isHidden() != shown) return;
    if (!animated || target_->parentWidget() == nullptr) {
        presence_->stop();
        slider_->stop();
        delete ghost_;
        target_->setGraphicsEffect(nullptr);
        target_->setVisible(shown);
        shown_ = shown ? 1.0 : 0.0;
        slideOffset_ = {};
        return;
    }
    // A reversal starts from where the widget is drawn now.
    const double from = presence_->state() == QAbstractAnimation::Running ? shown_ : (shown ? 0.0 : 1.0);
    presence_->stop();
    if (shown) {
        delete ghost_;
        target_->show();
    } else {
        slider_->stop();
        slideOffset_ = {};
        target_->setGraphicsEffect(nullptr);
        // Without the window background that grab() would lay under it: the ghost shows what
        // the widget drew over whatever lies beneath (a card's tint), and lies beneath the
        // widgets after it, which may move up over its place as it fades.
        const qreal ratio = target_->devicePixelRatioF();
        QPixmap still(target_->size() * ratio);
        still.setDevicePixelRatio(ratio);
        still.fill(Qt::transparent);
        target_->render(&still, QPoint(), QRegion(), QWidget::DrawChildren);
        auto* ghost = new Ghost(still, target_->geometry(), target_->parentWidget());
        ghost_ = ghost;
        ghost->stackUnder(target_);
        target_->hide();
        ghost->show();
        TransitionEffect* effect = effectOn(ghost);
        effect->setPicture(still);
        // The effect lives and dies with the ghost it draws.
        if (leavingRoom_) {
            effect->setRoom([ghost, room = leavingRoom_] { return QRectF(room().translated(-ghost->pos())); });
        }
    }
    shown_ = from;
    applyFrame();
    presence_->setStartValue(from);
    presence_->setEndValue(shown ? 1.0 : 0.0);
    presence_->start();
}

void WidgetTransition::slide(QPoint moved, int milliseconds) {
    if (moved.isNull() || target_->isHidden()) return;
    // Drawn where it was, then eased into its new place.
    slideStart_ = (slideOffset_ - QPointF(moved)).toPoint();
    slider_->stop();
    slider_->setDuration(milliseconds);
    slider_->setStartValue(QPointF(slideStart_));
    slider_->setEndValue(QPointF(0, 0));
    slideOffset_ = QPointF(slideStart_);
    applyFrame();
    slider_->start();
}

void WidgetTransition::applyFrame() {
    QWidget* drawn = ghost_ ? ghost_.data() : target_;
    if (drawn->isHidden()) return;
    const double height = drawn->height();
    QPointF offset(0, style_.moveFromTop ? -(1.0 - shown_) * height : 0.0);
    if (!ghost_) offset += slideOffset_;
    const double opacity = style_.fade ? std::clamp(shown_, 0.0, 1.0) : 1.0;
    // Qt cannot draw at a scale of zero; a hair above it is as good as nothing.
    const double scale = style_.scale ? std::max(shown_, 0.00001) : 1.0;
    TransitionEffect* effect = effectOn(drawn);
    const QPoint start = ghost_ ? QPoint() : slideStart_;
    // Room above for a widget on its way down from the top edge, and room toward its old place.
    const double above = style_.moveFromTop && shown_ < 1.0 ? height : 0.0;
    effect->setMargins(QMarginsF(std::max(0, -start.x()), above + std::max(0, -start.y()), std::max(0, start.x()),
                                 std::max(0, start.y())));
    effect->setFrame(opacity, offset, scale);
}

void WidgetTransition::finish() {
    if (isRunning()) return;
    delete ghost_;
    target_->setGraphicsEffect(nullptr);
    shown_ = target_->isHidden() ? 0.0 : 1.0;
    slideOffset_ = {};
    slideStart_ = {};
}

}  // namespace solvara
