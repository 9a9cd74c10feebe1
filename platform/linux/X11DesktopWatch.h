#pragma once

#include <memory>
#include <span>
#include <vector>

#include "platform/linux/RandrDisplays.h"

namespace solvara {

// What the overlay windows need from the X server beyond Qt, on an Xlib connection of its own:
// whether a compositing manager runs (the owner of _NET_WM_CM_S<screen>), notice when that
// changes or when another window is stacked over ours, the RandR display list, and picom's
// per-window shadow switch. No X types in this header, so Qt code can include it.
class X11DesktopWatch {
public:
    struct Changes {
        bool compositor = false;  // the compositing selection changed hands
        bool stacking = false;    // a window that is not ours was mapped or restacked
    };

    X11DesktopWatch();
    ~X11DesktopWatch();
    X11DesktopWatch(const X11DesktopWatch&) = delete;
    X11DesktopWatch& operator=(const X11DesktopWatch&) = delete;

    bool isOpen() const;
    // The connection's socket, for a read notifier; -1 when closed.
    int connectionFd() const;

    // One round trip.
    bool compositorRuns();

    // Reads every event the server has sent; windows in `ours` do not count as stacking changes.
    Changes drain(std::span<const unsigned long> ours);

    // True when no viewable window that is not in `ours` lies above the lowest of ours (each
    // window counted by its top-level ancestor, so a managed window's frame counts as it).
    bool oursOnTop(std::span<const unsigned long> ours);

    // Puts the windows above all others in the order given, so the last ends on top. Direct
    // children of the root (override-redirect windows such as the overlays) move at once; a
    // managed window is left to its window manager.
    void raiseInOrder(std::span<const unsigned long> bottomToTop);

    // Marks a window as one a compositor must not draw a shadow for (_COMPTON_SHADOW = 0,
    // honoured by picom and compton).
    void disableShadow(unsigned long window);

    std::vector<RandrDisplay> displays();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace solvara
