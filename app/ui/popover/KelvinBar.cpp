#include "app/ui/popover/KelvinBar.h"

#include <algorithm>
#include <cmath>

#include <QLinearGradient>
#include <QPainter>
#include <QVariantAnimation>

#include "app/ui/kit/Theme.h"
#include "app/ui/kit/Transition.h"
#include "app/ui/popover/PopoverReadouts.h"
#include "core/foundation/Format.h"

namespace solvara {

KelvinBar::KelvinBar(QWidget* parent) : QWidget(parent), slide_(new QVariantAnimation(this)) {
    slide_->setStartValue(0.0);
    slide_->setEndValue(1.0);
    slide_->setDuration(slideMilliseconds);
    slide_->setEasingCurve(motion::easeInOut());
    QObject::connect(slide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        progress_ = value.toDouble();
        update();
    });
    setFixedHeight(barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName("Color temperature bar");
}

void KelvinBar::setKelvin(std::int64_t kelvin) {
    if (kelvin == kelvin_) return;
    // A new slide starts from where the fill is painted now.
    from_ = isVisible()
                ? static_cast<std::int64_t>(std::lround(1800.0 + shownFillWidth() / std::max(1, width()) * 4700.0))
                : kelvin;
    kelvin_ = kelvin;
    slide_->stop();
    progress_ = 1.0;
    if (isVisible() && from_ != kelvin_) {
        progress_ = 0.0;
        slide_->start();
    }
    setAccessibleDescription(QString::fromStdString("Filled to " + format::integer(kelvin) + " K of 1800 to 6500 K"));
    update();
}

double KelvinBar::fillWidth() const {
    return popover::kelvinBarFill(kelvin_, width());
}

double KelvinBar::shownFillWidth() const {
    const double from = popover::kelvinBarFill(from_, width());
    return from + (fillWidth() - from) * progress_;
}

void KelvinBar::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double radius = barHeight / 2.0;
    painter.setBrush(Theme::withOpacity(theme.secondary, 0.1));
    painter.drawRoundedRect(QRectF(0, 0, width(), barHeight), radius, radius);

    const double fill = shownFillWidth();
    QLinearGradient gradient(0, 0, fill, 0);
    gradient.setColorAt(0.0, theme.red);
    gradient.setColorAt(1.0 / 3.0, theme.orange);
    gradient.setColorAt(2.0 / 3.0, theme.yellow);
    gradient.setColorAt(1.0, QColor(255, 255, 255));
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(0, 0, fill, barHeight), radius, radius);
}

}  // namespace solvara
