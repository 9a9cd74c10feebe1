#include "app/ui/kit/TrayIconRenderer.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "app/ui/kit/Symbols.h"

namespace solvara {

QImage TrayIconRenderer::image(std::string_view symbol, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QString glyph = Symbols::glyph(symbol);
    if (glyph.isEmpty()) return image;

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The glyphs fill about 5/6 of their em box.
    const QFont font = Symbols::font(static_cast<int>(std::lround(size * 1.1)));
    QPainterPath path;
    path.addText(0, 0, font, glyph);
    const QRectF bounds = path.boundingRect();
    const double scale = (size - std::max(2.0, size / 8.0)) / std::max(bounds.width(), bounds.height());
    painter.translate(size / 2.0, size / 2.0);
    painter.scale(scale, scale);
    painter.translate(-bounds.center());
    const double rim = std::max(1.0, size / 16.0) / scale;
    painter.setPen(QPen(QColor(0, 0, 0, 150), 2 * rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF2, 0xF2, 0xF2));
    painter.drawPath(path);
    return image;
}

QIcon TrayIconRenderer::icon(std::string_view symbol) {
    QIcon icon;
    for (int size : sizes) icon.addPixmap(QPixmap::fromImage(image(symbol, size)));
    return icon;
}

}  // namespace solvara
