#pragma once

#include <string_view>

#include <QIcon>
#include <QImage>

namespace solvara {

// The tray item's picture: the state's menu-bar symbol ("sun.max", "moon.stars", ...) drawn
// from the icon font in a light grey with a dark rim, so that it reads on light and dark panels
// alike (trays have no template images that follow the panel's colours). The icon carries the
// sizes trays ask for (16 to 48 pixels).
//
// The five symbols the tray shows are rendered at build time (solvara_tray_icon_bake) and kept
// as pixel tables: drawing them at run time would load a font renderer into a program that
// otherwise draws nothing while it idles. Other symbols are rendered when asked for. An unknown
// symbol or a missing font gives an empty picture, never a failure.
class TrayIconRenderer {
public:
    static constexpr int sizes[] = {16, 22, 24, 32, 48};
    static constexpr const char* symbols[] = {"sun.max", "sun.min", "sun.horizon", "sunset", "moon.stars"};

    static QIcon icon(std::string_view symbol);
    // One size of it, on a transparent background (from the baked tables when they hold it).
    static QImage image(std::string_view symbol, int size);
    // Drawn now from the icon font.
    static QImage render(std::string_view symbol, int size);

    struct Baked {
        const char* symbol;
        int size;
        const unsigned int* pixels;  // premultiplied ARGB32, size x size
    };
    static const Baked baked[];
    static const int bakedCount;
};

}  // namespace solvara
