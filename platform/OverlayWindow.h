#pragma once

#include "platform/Geometry.h"
#include "platform/OverlayDrawing.h"

namespace solvara {

// How an overlay window is made. Every overlay is borderless, click-through, never takes focus
// and never activates the program, shows on every workspace and stays put.
struct OverlayWindowSpec {
    Rect frame;                  // desktop coordinates; callers grow the screen by 1 point
    int level = 0;               // stacking: vignette 3, colour tint 1000, dimmer 1001; higher on top
    Color background;            // straight alpha; clear for a window that only draws
    bool hasShadow = true;       // the platform default; the tint windows drop it
    bool ignoresMouse = true;
    int collectionBehavior = 17;  // all workspaces (1) + stationary (16)
    OverlayDrawing drawing;      // painted over the background

    bool operator==(const OverlayWindowSpec&) const = default;
};

// One overlay window, shown from creation until orderOut() or destruction (destroying the
// handle closes the window). Main thread only. No member reports failure: a window whose
// screen has gone keeps its values and shows nothing.
class OverlayWindow {
public:
    virtual ~OverlayWindow() = default;

    // Repaints with a new background colour.
    virtual void setBackground(Color color) = 0;

    // Repaints with a new drawing over the background (the vignette's redraw).
    virtual void setDrawing(const OverlayDrawing& drawing) = 0;

    // Hides the window for good; later calls on the handle change values only. Idempotent.
    virtual void orderOut() = 0;

    // The window's frame as created (desktop coordinates).
    virtual Rect frame() const = 0;
};

}  // namespace solvara
