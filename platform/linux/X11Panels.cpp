#include "platform/linux/X11Panels.h"

#include <algorithm>
#include <array>
#include <span>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/linux/XErrorTrap.h"
#include "platform/linux/XHandles.h"

namespace solvara {

namespace {

// A property of format 32 as Xlib hands it over: one long per item, whatever the item's type.
std::vector<unsigned long> readLongs(Display* display, Window window, Atom name, Atom type) {
    if (name == None) return {};
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    const int status =
        XGetWindowProperty(display, window, name, 0, 1024, False, type, &actualType, &format, &count, &remaining, &raw);
    x11::XFreePtr<unsigned char> data(raw);
    if (status != Success || actualType != type || format != 32 || raw == nullptr) return {};
    const auto* items = reinterpret_cast<const unsigned long*>(raw);
    return {items, items + count};
}

// _NET_WM_STRUT_PARTIAL: left, right, top, bottom, then the start and end of each band along its
// edge (left_start_y, left_end_y, right_start_y, ..., bottom_end_x). _NET_WM_STRUT has only the
// first four and spans the whole edge.
void addStruts(std::span<const unsigned long> values, QSize root, std::vector<PanelStrut>& struts) {
    if (values.size() < 4) return;
    constexpr std::array edges{ScreenEdge::left, ScreenEdge::right, ScreenEdge::top, ScreenEdge::bottom};
    for (std::size_t side = 0; side < 4; ++side) {
        const ScreenEdge edge = edges[side];
        const bool vertical = edge == ScreenEdge::left || edge == ScreenEdge::right;
        const long across = vertical ? root.width() : root.height();
        const long along = vertical ? root.height() : root.width();
        const long width = static_cast<long>(std::min<unsigned long>(values[side], static_cast<unsigned long>(across)));
        if (width <= 0) continue;
        long start = 0;
        long end = along - 1;
        // Some panels leave the range at 0..0 for "the whole edge".
        if (values.size() >= 12 && (values[4 + 2 * side] != 0 || values[5 + 2 * side] != 0)) {
            start = static_cast<long>(std::min<unsigned long>(values[4 + 2 * side], static_cast<unsigned long>(along)));
            end =
                static_cast<long>(std::min<unsigned long>(values[5 + 2 * side], static_cast<unsigned long>(along - 1)));
        }
        if (end < start) continue;
        const int length = static_cast<int>(end - start + 1);
        const int w = static_cast<int>(width);
        QRect rect;
        switch (edge) {
            case ScreenEdge::left:
                rect = QRect(0, static_cast<int>(start), w, length);
                break;
            case ScreenEdge::right:
                rect = QRect(root.width() - w, static_cast<int>(start), w, length);
                break;
            case ScreenEdge::top:
                rect = QRect(static_cast<int>(start), 0, length, w);
                break;
            case ScreenEdge::bottom:
                rect = QRect(static_cast<int>(start), root.height() - w, length, w);
                break;
        }
        struts.push_back({edge, rect});
    }
}

}  // namespace

DesktopPanels X11Panels::read() {
    DesktopPanels panels;
    const x11::DisplayPtr connection(XOpenDisplay(nullptr));
    Display* display = connection.get();
    if (display == nullptr) return panels;
    x11::XErrorTrap trap(display);
    const Window root = DefaultRootWindow(display);
    const QSize rootSize(DisplayWidth(display, DefaultScreen(display)), DisplayHeight(display, DefaultScreen(display)));

    std::array<const char*, 7> names{"_NET_CLIENT_LIST",    "_NET_WM_STRUT_PARTIAL",    "_NET_WM_STRUT",
                                     "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DOCK", "_NET_WORKAREA",
                                     "_NET_CURRENT_DESKTOP"};
    std::array<Atom, 7> atoms{};
    // Atoms nobody has made yet come back as None: no window can carry them.
    XInternAtoms(display, const_cast<char**>(names.data()), static_cast<int>(names.size()), True, atoms.data());
    const auto [clientList, strutPartial, strut, windowType, dock, workArea, currentDesktop] = atoms;

    std::vector<unsigned long> windows = readLongs(display, root, clientList, XA_WINDOW);
    Window parent = 0;
    Window rootReturn = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) != 0 && children != nullptr) {
        windows.insert(windows.end(), children, children + count);
    }
    x11::XFreePtr<Window> childList(children);
    std::sort(windows.begin(), windows.end());
    windows.erase(std::unique(windows.begin(), windows.end()), windows.end());

    for (const unsigned long window : windows) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, window, &attributes) == 0 || attributes.map_state != IsViewable) continue;
        std::vector<unsigned long> values = readLongs(display, window, strutPartial, XA_CARDINAL);
        if (values.size() < 12) values = readLongs(display, window, strut, XA_CARDINAL);
        addStruts(values, rootSize, panels.struts);
        const std::vector<unsigned long> types = readLongs(display, window, windowType, XA_ATOM);
        if (dock == None || std::find(types.begin(), types.end(), dock) == types.end()) continue;
        int x = 0;
        int y = 0;
        Window ignored = 0;
        if (XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &ignored) != 0) {
            panels.docks.push_back(QRect(x, y, attributes.width, attributes.height));
        }
    }

    const std::vector<unsigned long> desktop = readLongs(display, root, currentDesktop, XA_CARDINAL);
    const std::vector<unsigned long> areas = readLongs(display, root, workArea, XA_CARDINAL);
    const std::size_t index = desktop.empty() ? 0 : desktop.front();
    if (areas.size() >= 4 * (index + 1)) {
        const QRect area(static_cast<int>(areas[4 * index]), static_cast<int>(areas[4 * index + 1]),
                         static_cast<int>(areas[4 * index + 2]), static_cast<int>(areas[4 * index + 3]));
        if (!area.isEmpty()) panels.workArea = area;
    }
    trap.sync();
    return panels;
}

}  // namespace solvara
