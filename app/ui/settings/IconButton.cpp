#include "app/ui/settings/IconButton.h"

#include <QPainter>
#include <QPixmap>

#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/Theme.h"

namespace solvara::settingsui {

IconButton::IconButton(const char* symbol, const QString& accessibleName, StyledLabel::ColorRole role, double opacity,
                       int pixelSize, QWidget* parent)
    : QPushButton(parent), glyph_(Symbols::glyph(symbol)), role_(role), opacity_(opacity), pixelSize_(pixelSize) {
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

QSize IconButton::sizeHint() const {
    return {pixelSize_ + 10, pixelSize_ + 8};
}

void IconButton::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (hasFocus()) {
        painter.setPen(QPen(theme.accent, 1.5));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
    QColor color = Theme::withOpacity(theme.*role_, opacity_);
    if (!isEnabled()) color = theme.tertiary;
    painter.setPen(color);
    painter.setFont(Symbols::font(pixelSize_));
    painter.drawText(rect(), Qt::AlignCenter, glyph_);
}

QIcon iconOf(const char* symbol, const QColor& color, int pixelSize) {
    QPixmap pixmap(pixelSize * 2, pixelSize * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(color);
    painter.setFont(Symbols::font(pixelSize));
    painter.drawText(QRect(0, 0, pixelSize, pixelSize), Qt::AlignCenter, Symbols::glyph(symbol));
    return QIcon(pixmap);
}

}  // namespace solvara::settingsui
