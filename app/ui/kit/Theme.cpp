#include "app/ui/kit/Theme.h"

namespace solvara {

namespace {

QColor rgb(unsigned value, double alpha = 1.0) {
    QColor color(static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                 static_cast<int>(value & 0xFF));
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

}  // namespace

const Theme& Theme::light() {
    static const Theme theme{rgb(0x000000, 0.85), rgb(0x000000, 0.50), rgb(0x000000, 0.26), rgb(0x000000, 0.10),
                             rgb(0x007AFF),       rgb(0xECECEC),       rgb(0xFFFFFF),       rgb(0xFF9500),
                             rgb(0xFF3B30),       rgb(0x28CD41),       rgb(0xFFCC00),       rgb(0xAF52DE),
                             rgb(0x5856D6),       rgb(0x55BEF0)};
    return theme;
}

const Theme& Theme::dark() {
    static const Theme theme{rgb(0xFFFFFF, 0.85), rgb(0xFFFFFF, 0.55), rgb(0xFFFFFF, 0.25), rgb(0xFFFFFF, 0.10),
                             rgb(0x0A84FF),       rgb(0x323232),       rgb(0x1E1E1E),       rgb(0xFF9F0A),
                             rgb(0xFF453A),       rgb(0x32D74B),       rgb(0xFFD60A),       rgb(0xBF5AF2),
                             rgb(0x5E5CE6),       rgb(0x5AC8F5)};
    return theme;
}

QColor Theme::withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

}  // namespace solvara
