#pragma once

#include <optional>
#include <vector>

#include <QRect>

namespace solvara {

enum class ScreenEdge { left, right, top, bottom };

// A band that a panel keeps for itself along one edge of the X screen.
struct PanelStrut {
    ScreenEdge edge;
    QRect rect;
};

// What the desktop says about its panels, in X root-window coordinates (device pixels).
struct DesktopPanels {
    // From _NET_WM_STRUT_PARTIAL (else _NET_WM_STRUT) of every mapped window that sets one.
    std::vector<PanelStrut> struts;
    // Mapped windows of type _NET_WM_WINDOW_TYPE_DOCK, whether they reserve space or not.
    std::vector<QRect> docks;
    // _NET_WORKAREA of the current desktop, when a window manager publishes it: one rectangle
    // over all monitors, so it only tells what a monitor loses at the outer edges.
    std::optional<QRect> workArea;
};

// Reads the panels from the X server at $DISPLAY, over a connection of its own that lives for
// one call. Windows come from the root window's children and from _NET_CLIENT_LIST, so panels
// are found with a reparenting window manager and without any. A window that vanishes while it
// is read is skipped (its X errors are trapped); no X server gives no panels.
class X11Panels {
public:
    static DesktopPanels read();
};

}  // namespace solvara
