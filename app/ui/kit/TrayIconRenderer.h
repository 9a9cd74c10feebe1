#pragma once

#include <string_view>

#include <QIcon>
#include <QImage>

namespace solvara {

// The tray item's picture: the state's menu-bar symbol ("sun.max", "moon.stars", ...) drawn
// from the icon font in a light grey with a dark rim, so that it reads on light and dark panels
// alike (trays have no template images that follow the panel's colours). The icon carries the
// sizes trays ask for (16 to 64 pixels); an unknown symbol or a missing font gives an empty
// picture, never a failure.
class TrayIconRenderer {
public:
    static constexpr int sizes[] = {16, 22, 24, 32, 48, 64};

    static QIcon icon(std::string_view symbol);
    // One size of it, on a transparent background.
    static QImage image(std::string_view symbol, int size);
};

}  // namespace solvara
