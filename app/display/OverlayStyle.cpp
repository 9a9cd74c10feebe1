#include "app/display/OverlayStyle.h"

namespace solvara {

OverlayWindowSpec OverlayStyle::forScreen(const ScreenInfo& screen, int level, Color background) {
    OverlayWindowSpec spec;
    spec.frame = screen.frame.insetBy(-1, -1);
    spec.level = level;
    spec.background = background;
    spec.ignoresMouse = true;
    spec.collectionBehavior = allSpacesAndStationary;
    return spec;
}

}  // namespace solvara
