#include "app/ui/kit/PlainButton.h"

#include <QFontMetrics>
#include <QPainter>

namespace solvara {

PlainButton::PlainButton(const QString& text, const QFont& font, ColorRole color, QWidget* parent)
    : QAbstractButton(parent), color_(color) {
    setText(text);
    setFont(font);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PlainButton::setColor(ColorRole color) {
    if (color == color_) return;
    color_ = color;
    update();
}

QSize PlainButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 4, metrics.height() + 4};
}

void PlainButton::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor color = theme.*color_;
    if (isDown() || !isEnabled()) color = Theme::withOpacity(color, 0.5);
    painter.setFont(font());
    painter.setPen(color);
    painter.drawText(rect(), Qt::AlignCenter, text());
    // The ring only once the keyboard moved the focus, as the style does for its own controls.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Theme::withOpacity(theme.accent, 0.6), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 3, 3);
    }
}

}  // namespace solvara
