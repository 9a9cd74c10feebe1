#include "app/ui/kit/TrayIconRenderer.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRawFont>

#include "app/ui/kit/Symbols.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

// The icon font read straight from its file: the tray icon is all the program draws while it
// sits idle, and going through the font database would load the whole fontconfig set for it.
const QRawFont& iconFont() {
    static const QRawFont font = [] {
        QRawFont raw(QString::fromUtf8(Symbols::fontPath), 64);
        if (!raw.isValid()) {
            Log::write("Symbols", std::string("The icon font cannot be read from ") + Symbols::fontPath +
                                      ": the tray icon stays empty");
        }
        return raw;
    }();
    return font;
}

}  // namespace

QImage TrayIconRenderer::render(std::string_view symbol, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const char16_t point = Symbols::codePoint(symbol);
    const QRawFont& font = iconFont();
    if (point == 0 || !font.isValid()) return image;
    const QList<quint32> glyphs = font.glyphIndexesForString(QString(QChar(point)));
    if (glyphs.isEmpty() || glyphs.front() == 0) return image;
    const QPainterPath path = font.pathForGlyph(glyphs.front());
    const QRectF bounds = path.boundingRect();
    if (bounds.isEmpty()) return image;

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
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

QImage TrayIconRenderer::image(std::string_view symbol, int size) {
#ifndef SOLVARA_TRAY_ICON_BAKING
    for (int i = 0; i < bakedCount; ++i) {
        if (baked[i].size == size && symbol == baked[i].symbol) {
            // Wraps the table without copying; the pixmap made from it copies once.
            return QImage(reinterpret_cast<const uchar*>(baked[i].pixels), size, size, size * 4,
                          QImage::Format_ARGB32_Premultiplied);
        }
    }
#endif
    return render(symbol, size);
}

QIcon TrayIconRenderer::icon(std::string_view symbol) {
    QIcon icon;
    for (int size : sizes) icon.addPixmap(QPixmap::fromImage(image(symbol, size)));
    return icon;
}

}  // namespace solvara
