#pragma once

#include <string_view>

#include <QFont>
#include <QString>

namespace solvara {

// The symbols the views name ("sun.max", "eye", ...), drawn as glyphs of the Material Design
// Icons font through one table. A missing font or an unknown name draws nothing and is logged
// once; it never fails otherwise.
class Symbols {
public:
    // The glyph of `name` as text in font(); empty for an unknown name.
    static QString glyph(std::string_view name);

    // The icon font at `pixelSize` (the font is loaded on first use).
    static QFont font(int pixelSize);

    static constexpr const char* fontPath =
        "/usr/share/fonts/truetype/materialdesignicons-webfont/materialdesignicons-webfont.ttf";
};

}  // namespace solvara
