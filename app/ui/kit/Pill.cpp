#include "app/ui/kit/Pill.h"

#include <cmath>

#include <QFontMetrics>
#include <QPainter>
#include <QVariantAnimation>

#include "app/ui/kit/Transition.h"

namespace solvara {

Pill::Pill(const QString& text, const QFont& font, QWidget* parent)
    : QWidget(parent), animation_(motion::progressAnimation(this, [this](double progress) {
          progress_ = progress;
          if (progress >= 1.0) from_.clear();
          if (sizeHint() != size()) updateGeometry();
      })) {
    setFont(font);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setText(text);
}

void Pill::setText(const QString& text, int milliseconds) {
    if (text == text_) return;
    // From the width it has now, also when a change comes half way through the last one.
    const int fromWidth = sizeHint().width();
    animation_->stop();
    progress_ = 1.0;
    from_.clear();
    if (milliseconds > 0 && isVisible() && !text_.isEmpty()) {
        from_ = text_;
        fromWidth_ = fromWidth;
        progress_ = 0.0;
        animation_->setDuration(milliseconds);
        animation_->start();
    }
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
    int width = metrics.horizontalAdvance(text_) + 2 * horizontalPadding;
    // The capsule goes from its old width to the new text's with the cross-fade.
    if (!from_.isEmpty()) width = static_cast<int>(std::lround(fromWidth_ + (width - fromWidth_) * progress_));
    return {width, metrics.height() + 2 * verticalPadding};
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
    if (animation_->state() == QAbstractAnimation::Stopped) {
        painter.drawText(bounds, Qt::AlignCenter, text_);
        return;
    }
    // The old text may be wider than the new capsule: it is drawn unclipped by it, centred.
    const QRectF wide = bounds.adjusted(-bounds.width(), 0, bounds.width(), 0);
    painter.setOpacity(1.0 - progress_);
    painter.drawText(wide, Qt::AlignCenter, from_);
    painter.setOpacity(progress_);
    painter.drawText(wide, Qt::AlignCenter, text_);
}

}  // namespace solvara
