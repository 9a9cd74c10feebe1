#pragma once

#include <string_view>

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace solvara {

// The symbols the views name ("sun.max", "eye", ...), drawn as glyphs of the Material Design
// Icons font through one table. A missing font or an unknown name draws nothing and is logged
// once; it never fails otherwise.
class Symbols {
public:
    // The glyph of `name` as text in font(); empty for an unknown name.
    static QString glyph(std::string_view name);
    // The code point of `name` in the icon font, without loading the font; 0 for an unknown name.
    static char16_t codePoint(std::string_view name);

    // The icon font at `pixelSize` (the font is loaded on first use).
    static QFont font(int pixelSize);

    // Draws `name` centred in `rect` at `pixelSize` in `color`; nothing for an unknown name.
    static void paint(QPainter& painter, const QRectF& rect, std::string_view name, int pixelSize, const QColor& color);

    static constexpr const char* fontPath =
        "/usr/share/fonts/truetype/materialdesignicons-webfont/materialdesignicons-webfont.ttf";
};

}  // namespace solvara
