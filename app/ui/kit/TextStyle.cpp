#include "app/ui/kit/TextStyle.h"

namespace solvara {

QFont TextStyle::systemFont(int pixelSize, QFont::Weight weight) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

QFont TextStyle::font(Style style) {
    switch (style) {
        case largeTitle:
            return systemFont(26);
        case title:
            return systemFont(22);
        case title2:
            return systemFont(17);
        case title3:
            return systemFont(15);
        case headline:
            return systemFont(13, QFont::Bold);
        case body:
            return systemFont(13);
        case callout:
            return systemFont(12);
        case subheadline:
            return systemFont(11);
        case footnote:
            return systemFont(10);
        case caption:
            return systemFont(10);
        case caption2:
            return systemFont(10, QFont::Medium);
    }
    return systemFont(13);
}

}  // namespace solvara
