#include "app/ui/popover/PopoverPlacement.h"

#include <algorithm>
#include <climits>
#include <utility>

#include <QRectF>

#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr int gap = 4;

// A dock window says nothing of its edge: it sits on the monitor edge it lies nearest, along
// its long side.
ScreenEdge edgeOf(const QRect& band, const QRect& monitor) {
    const QPoint centre = band.center();
    if (band.width() >= band.height()) {
        return centre.y() - monitor.top() <= monitor.bottom() - centre.y() ? ScreenEdge::top : ScreenEdge::bottom;
    }
    return centre.x() - monitor.left() <= monitor.right() - centre.x() ? ScreenEdge::left : ScreenEdge::right;
}

QRect monitorAt(const std::vector<QRect>& monitors, const QPoint& point) {
    QRect nearest(0, 0, 1920, 1080);
    int best = INT_MAX;
    for (const QRect& monitor : monitors) {
        const int dx = std::max({monitor.left() - point.x(), 0, point.x() - monitor.right()});
        const int dy = std::max({monitor.top() - point.y(), 0, point.y() - monitor.bottom()});
        if (dx + dy < best) {
            best = dx + dy;
            nearest = monitor;
        }
    }
    return nearest;
}

// What the window manager's work area takes off the desktop, as bands along its edges: like
// struts, each reaches from the edge of the whole desktop.
std::vector<PanelStrut> bandsOutside(const QRect& area, const QRect& desktop) {
    std::vector<PanelStrut> bands;
    if (area.isEmpty()) return bands;
    if (area.top() > desktop.top()) {
        bands.push_back(
            {ScreenEdge::top, QRect(desktop.left(), desktop.top(), desktop.width(), area.top() - desktop.top())});
    }
    if (area.bottom() < desktop.bottom()) {
        bands.push_back({ScreenEdge::bottom,
                         QRect(desktop.left(), area.bottom() + 1, desktop.width(), desktop.bottom() - area.bottom())});
    }
    if (area.left() > desktop.left()) {
        bands.push_back(
            {ScreenEdge::left, QRect(desktop.left(), desktop.top(), area.left() - desktop.left(), desktop.height())});
    }
    if (area.right() < desktop.right()) {
        bands.push_back({ScreenEdge::right,
                         QRect(area.right() + 1, desktop.top(), desktop.right() - area.right(), desktop.height())});
    }
    return bands;
}

// How far a monitor's edge on the band's side lies inside the desktop, towards the band's inner
// edge.
int depth(ScreenEdge edge, const QRect& monitor) {
    switch (edge) {
        case ScreenEdge::top:
            return monitor.top();
        case ScreenEdge::bottom:
            return -monitor.bottom();
        case ScreenEdge::left:
            return monitor.left();
        case ScreenEdge::right:
            return -monitor.right();
    }
    return 0;
}

}  // namespace

PopoverPlacement::PopoverPlacement(const std::vector<QRect>& monitors, const DesktopPanels& panels, const QRect& icon,
                                   const QPoint& click)
    : icon_(icon), click_(click) {
    const QPoint anchor = icon.isEmpty() ? click : icon.center();
    monitor_ = monitorAt(monitors, anchor);
    std::vector<PanelStrut> bands;
    for (const PanelStrut& strut : panels.struts) {
        if (bandLiesOn(strut, monitor_, monitors)) bands.push_back({strut.edge, strut.rect & monitor_});
    }
    for (const QRect& dock : panels.docks) {
        const QRect part = dock & monitor_;
        if (part.contains(anchor)) bands.push_back({edgeOf(part, monitor_), part});
    }
    // Window managers that draw their own panels (GNOME Shell) set no struts.
    if (bands.empty() && panels.workArea) {
        QRect desktop = monitor_;
        for (const QRect& monitor : monitors) desktop = desktop.united(monitor);
        for (const PanelStrut& band : bandsOutside(*panels.workArea & desktop, desktop)) {
            if (bandLiesOn(band, monitor_, monitors)) bands.push_back({band.edge, band.rect & monitor_});
        }
    }

    QRect area = monitor_;
    for (const PanelStrut& band : bands) {
        switch (band.edge) {
            case ScreenEdge::top:
                area.setTop(std::max(area.top(), band.rect.bottom() + 1));
                break;
            case ScreenEdge::bottom:
                area.setBottom(std::min(area.bottom(), band.rect.top() - 1));
                break;
            case ScreenEdge::left:
                area.setLeft(std::max(area.left(), band.rect.right() + 1));
                break;
            case ScreenEdge::right:
                area.setRight(std::min(area.right(), band.rect.left() - 1));
                break;
        }
        if (clickedPanel_.isEmpty() && band.rect.contains(click)) {
            clickedPanel_ = band.rect;
            clickedEdge_ = band.edge;
        }
    }
    // Panels that leave less than half of the monitor misreport their struts: the whole
    // monitor is a better guess than a popover squeezed into a corner.
    if (area.width() < monitor_.width() / 2 || area.height() < monitor_.height() / 2) {
        // Said once per monitor and claim, not at every opening. Main thread only.
        static std::vector<std::pair<QRect, QRect>> said;
        if (std::find(said.begin(), said.end(), std::pair(monitor_, area)) == said.end()) {
            Log::write("Tray", "The panels claim most of the monitor; the popover opens as if there were none");
            said.emplace_back(monitor_, area);
        }
        area = monitor_;
    }
    workArea_ = area;
}

QPoint PopoverPlacement::position(const QSize& size) const {
    const bool atClick = icon_.isEmpty();
    QPoint at = atClick ? QPoint(click_.x() - size.width() / 2, click_.y() + gap)
                        : QPoint(icon_.center().x() - size.width() / 2, icon_.bottom() + 1 + gap);
    const int above = (atClick ? click_.y() : icon_.top()) - gap - size.height();
    if (at.y() + size.height() > workArea_.bottom() + 1 && above >= workArea_.top()) at.setY(above);
    return insideWorkArea(at, size);
}

QPoint PopoverPlacement::resized(const QRect& shown, const QSize& size) const {
    const int anchorY = icon_.isEmpty() ? click_.y() : icon_.center().y();
    const bool below = shown.top() > anchorY;
    const QPoint at(shown.left() + (shown.width() - size.width()) / 2,
                    below ? shown.top() : shown.bottom() + 1 - size.height());
    return insideWorkArea(at, size);
}

QPoint PopoverPlacement::insideWorkArea(QPoint at, const QSize& size) const {
    at.setX(std::clamp(at.x(), workArea_.left(), std::max(workArea_.left(), workArea_.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), workArea_.top(), std::max(workArea_.top(), workArea_.bottom() + 1 - size.height())));
    return at;
}

QRect PopoverPlacement::iconArea() const {
    if (!icon_.isEmpty()) return icon_;
    if (clickedPanel_.isEmpty()) return {};
    if (clickedEdge_ == ScreenEdge::top || clickedEdge_ == ScreenEdge::bottom) {
        const int side = clickedPanel_.height();
        return QRect(click_.x() - side / 2, clickedPanel_.top(), side, side) & clickedPanel_;
    }
    const int side = clickedPanel_.width();
    return QRect(clickedPanel_.left(), click_.y() - side / 2, side, side) & clickedPanel_;
}

bool PopoverPlacement::bandLiesOn(const PanelStrut& band, const QRect& monitor, const std::vector<QRect>& monitors) {
    if (!band.rect.intersects(monitor)) return false;
    return std::none_of(monitors.begin(), monitors.end(), [&](const QRect& other) {
        return band.rect.intersects(other) && depth(band.edge, other) > depth(band.edge, monitor);
    });
}

QRect PopoverPlacement::fromDevicePixels(const QRect& native, const QRect& screen, double ratio) {
    if (ratio <= 0) return {};
    const QRect nativeScreen(screen.topLeft(), (QSizeF(screen.size()) * ratio).toSize());
    const QRect part = native & nativeScreen;
    if (part.isEmpty()) return {};
    const QPointF origin = screen.topLeft();
    return QRectF(origin + QPointF(part.topLeft() - screen.topLeft()) / ratio, QSizeF(part.size()) / ratio)
        .toAlignedRect();
}

}  // namespace solvara
