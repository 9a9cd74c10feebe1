#include "app/ui/popover/ModeButton.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QPainter>
#include <QVariantAnimation>

#include "app/ui/kit/Localized.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/kit/Transition.h"

namespace solvara {

ModeButton::ModeButton(DisplayMode mode, QWidget* parent)
    : QAbstractButton(parent), mode_(mode), tint_(new QVariantAnimation(this)) {
    tint_->setDuration(tintMilliseconds);
    tint_->setEasingCurve(motion::easeInOut());
    connect(tint_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        selection_ = value.toDouble();
        update();
    });
    const std::string raw(rawValue(mode));
    setText(localized(raw.c_str()));
    setObjectName(QString::fromStdString("mode" + raw));
    setToolTip(QString::fromStdString(raw));
    setAccessibleName(QString::fromStdString(raw));
    setFont(TextStyle::font(TextStyle::caption));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ModeButton::setSelected(bool selected, bool animated) {
    if (selected == selected_) return;
    selected_ = selected;
    setAccessibleDescription(selected ? "Selected" : "");
    const double target = selected ? 1.0 : 0.0;
    tint_->stop();
    if (animated && isVisible()) {
        tint_->setStartValue(selection_);
        tint_->setEndValue(target);
        tint_->start();
    } else {
        selection_ = target;
    }
    update();
}

QSize ModeButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 8, metrics.height() + 2 * verticalPadding};
}

QSize ModeButton::minimumSizeHint() const {
    return {10, sizeHint().height()};
}

QFont ModeButton::fittedFont(QFont font, const QString& text, int available) {
    const int size = font.pixelSize();
    const int smallest = std::max(1, static_cast<int>(std::ceil(size * 0.8)));
    for (int pixels = size; pixels > smallest; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= available) return font;
    }
    font.setPixelSize(smallest);
    return font;
}

void ModeButton::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    painter.setPen(Qt::NoPen);
    const QColor plain = Theme::withOpacity(theme.secondary, 0.08);
    const QColor tinted = Theme::withOpacity(theme.accent, 0.2);
    QColor fill = selection_ >= 1.0 ? tinted : selection_ <= 0.0 ? plain : Theme::mixed(plain, tinted, selection_);
    if (isDown()) fill = Theme::withOpacity(fill, 1.6);
    painter.setBrush(fill);
    painter.drawRoundedRect(bounds, cornerRadius, cornerRadius);
    // The ring only once the keyboard moved the focus, as the style does for its own controls.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Theme::withOpacity(theme.accent, 0.7), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(0.75, 0.75, -0.75, -0.75), cornerRadius, cornerRadius);
    }

    const int available = width() - 4;
    const QFont font = fittedFont(this->font(), text(), available);
    painter.setFont(font);
    painter.setPen(theme.primary);
    painter.drawText(bounds, Qt::AlignCenter, QFontMetrics(font).elidedText(text(), Qt::ElideRight, available));
}

}  // namespace solvara
