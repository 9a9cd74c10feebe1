#include "app/ui/dashboard/DashboardStyle.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

#include "app/ui/dashboard/DialGeometry.h"
#include "app/ui/kit/Symbols.h"

namespace solvara::dashboard {

QColor tintColor(const Theme& theme, Tint tint) {
    switch (tint) {
        case Tint::primary:
            return theme.primary;
        case Tint::secondary:
            return theme.secondary;
        case Tint::red:
            return theme.red;
        case Tint::orange:
            return theme.orange;
        case Tint::yellow:
            return theme.yellow;
        case Tint::white:
            return QColor(Qt::white);
        case Tint::blue:
            return theme.blue;
        case Tint::green:
            return theme.green;
        case Tint::indigo:
            return theme.indigo;
        case Tint::purple:
            return theme.purple;
    }
    return theme.primary;
}

QColor kelvinColor(const Theme& theme, std::int64_t kelvin) {
    const Tint tint = kelvinBand(kelvin);
    if (tint == Tint::white && !theme.isDark) return theme.primary;
    return tintColor(theme, tint);
}

void paintCard(QPainter& painter, const QRectF& rect, const QColor& fill, double radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.fillPath(path, fill);
}

void setTextColor(QLabel& label, const QColor& color) {
    if (label.palette().color(QPalette::WindowText) == color) return;
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, color);
    label.setPalette(palette);
}

SymbolView* symbolLabel(std::string_view symbol, int pixelSize, QWidget* parent) {
    return new SymbolView(symbol, pixelSize, &Theme::primary, parent);
}

QLabel* textLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    return label;
}

QIcon symbolIcon(std::string_view symbol, int pixelSize, const QColor& color) {
    QPixmap pixmap(pixelSize * 2, pixelSize * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setFont(Symbols::font(pixelSize));
    painter.setPen(color);
    painter.drawText(QRect(0, 0, pixelSize, pixelSize), Qt::AlignCenter, Symbols::glyph(symbol));
    painter.end();
    return QIcon(pixmap);
}

}  // namespace solvara::dashboard
