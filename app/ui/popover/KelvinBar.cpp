#include "app/ui/popover/KelvinBar.h"

#include <QLinearGradient>
#include <QPainter>

#include "app/ui/kit/Theme.h"
#include "app/ui/popover/PopoverReadouts.h"
#include "core/foundation/Format.h"

namespace solvara {

KelvinBar::KelvinBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName("Color temperature bar");
}

void KelvinBar::setKelvin(std::int64_t kelvin) {
    if (kelvin == kelvin_) return;
    kelvin_ = kelvin;
    setAccessibleDescription(QString::fromStdString("Filled to " + format::integer(kelvin) + " K of 1800 to 6500 K"));
    update();
}

double KelvinBar::fillWidth() const {
    return popover::kelvinBarFill(kelvin_, width());
}

void KelvinBar::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double radius = barHeight / 2.0;
    painter.setBrush(Theme::withOpacity(theme.secondary, 0.1));
    painter.drawRoundedRect(QRectF(0, 0, width(), barHeight), radius, radius);

    const double fill = fillWidth();
    QLinearGradient gradient(0, 0, fill, 0);
    gradient.setColorAt(0.0, theme.red);
    gradient.setColorAt(1.0 / 3.0, theme.orange);
    gradient.setColorAt(2.0 / 3.0, theme.yellow);
    gradient.setColorAt(1.0, QColor(255, 255, 255));
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(0, 0, fill, barHeight), radius, radius);
}

}  // namespace solvara
