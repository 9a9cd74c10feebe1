#pragma once

#include <cstdint>

#include "app/state/AppStateTypes.h"
#include "platform/Geometry.h"

namespace solvara {

// What a break window shows: the layout the user chose and the whole seconds left.
struct BreakWindowContent {
    BreakScreenType breakScreenType = BreakScreenType::simpleText;
    std::int64_t remainingSeconds = 0;

    bool operator==(const BreakWindowContent&) const = default;
};

// One full-screen break window: a dark backdrop with the break view and a Skip button, above
// the applications (floating level) but below the desktop's panels, taking the mouse so clicks
// never reach the programs beneath. Shown from creation, without taking the keyboard focus,
// until orderOut() or destruction. Main thread only; nothing is reported.
class BreakWindow {
public:
    virtual ~BreakWindow() = default;

    // Shows new content in the same view, so its running animation carries on.
    virtual void setContent(const BreakWindowContent& content) = 0;

    // Brings the window to the front and gives it the keyboard focus.
    virtual void makeKeyAndOrderFront() = 0;

    // Hides the window for good. Idempotent.
    virtual void orderOut() = 0;

    // The screen frame the window covers (desktop coordinates).
    virtual Rect frame() const = 0;
};

}  // namespace solvara
