#pragma once

#include <QFont>

namespace solvara {

// The text styles of the views as DejaVu Sans fonts sized in pixels (a design point is a Qt
// pixel), and the plain "system font" of a given size and weight.
class TextStyle {
public:
    enum Style { largeTitle, title, title2, title3, headline, body, callout, subheadline, footnote, caption, caption2 };

    static QFont font(Style style);
    // DejaVu Sans at `pixelSize`; its digits are all one width, so counters do not jitter.
    static QFont systemFont(int pixelSize, QFont::Weight weight = QFont::Normal);

    static constexpr const char* family = "DejaVu Sans";
};

}  // namespace solvara
