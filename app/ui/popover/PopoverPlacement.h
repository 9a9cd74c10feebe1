#pragma once

#include <vector>

#include <QPoint>
#include <QRect>
#include <QSize>

#include "platform/linux/X11Panels.h"

namespace solvara {

// Where the tray popover opens, decided from the monitors and the panels the desktop reports
// rather than from QScreen::availableGeometry(), which Qt 6.4 leaves at the whole monitor on an
// X11 desktop with more than one (it ignores _NET_WORKAREA there).
//
// The popover opens below the icon, centred on it, when the tray tells where the icon is (XEmbed
// trays); otherwise just below the click (StatusNotifierItem hosts); above either when there is
// no room below. It is then kept inside the work area of the click's monitor: the monitor less
// the bands its panels reserve (their struts, the dock window under the click, else what the
// window manager's work area takes off this monitor; each only where its panel lies, see
// bandLiesOn), so it ends beside the panel: below a top
// panel, above a bottom one, beside a side one. All rectangles share one coordinate system.
class PopoverPlacement {
public:
    // `icon` is empty when the tray does not tell where the icon is.
    PopoverPlacement(const std::vector<QRect>& monitors, const DesktopPanels& panels, const QRect& icon,
                     const QPoint& click);

    // The popover's top-left corner for a popover of `size`.
    QPoint position(const QSize& size) const;
    // The top-left corner for a popover shown at `shown` whose size becomes `size`: the edge it
    // turns to the icon keeps its place (its top below the icon, its bottom above it), its centre
    // its column, and it stays inside the work area.
    QPoint resized(const QRect& shown, const QSize& size) const;
    // Where a press counts as one on the icon: the icon when the tray tells; otherwise a square
    // of the panel's thickness around the click, inside the panel under the click (tray icons
    // are square and at most as thick as their panel); empty when no panel lies under the click.
    QRect iconArea() const;

    // Struts and the work area reach from the edge of the whole desktop, so with monitors of
    // different sizes a panel on the edge of one monitor also reserves the space beyond it and
    // cuts into each neighbour whose edge lies further out (a legacy _NET_WM_STRUT even along
    // the whole edge). The panel itself lies at the band's inner edge, on the monitor whose edge
    // is nearest to it: whether that is `monitor` among `monitors` (one coordinate system).
    static bool bandLiesOn(const PanelStrut& band, const QRect& monitor, const std::vector<QRect>& monitors);
    // A rectangle in X's device pixels as Qt's coordinates on a screen of the given geometry
    // (as QScreen gives it) and device-pixel ratio: Qt keeps a screen's top-left corner in
    // device pixels and scales what lies inside it. Only the part on that screen is kept.
    static QRect fromDevicePixels(const QRect& native, const QRect& screen, double ratio);

private:
    QPoint insideWorkArea(QPoint at, const QSize& size) const;

    QRect icon_;
    QPoint click_;
    QRect monitor_;
    QRect workArea_;
    // The band of a panel that holds the click, and the edge it sits on.
    QRect clickedPanel_;
    ScreenEdge clickedEdge_ = ScreenEdge::top;
};

}  // namespace solvara
