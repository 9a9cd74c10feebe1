#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DisplayTransfer.h"
#include "platform/Geometry.h"
#include "platform/OverlayWindow.h"

namespace solvara {

// One screen as the window system shows it.
struct ScreenInfo {
    // The display id the screen shows (the same ids DisplayTransfer lists); empty when the
    // window system cannot tell which display it is.
    std::optional<DisplayId> displayId;
    std::string localizedName;  // for people ("DELL U2720Q"); may be empty
    Rect frame;                 // desktop coordinates

    bool operator==(const ScreenInfo&) const = default;
};

// The screens and the windows laid over them (tint, dimmer, vignette).
class Screens {
public:
    virtual ~Screens() = default;

    // The screens in the window system's order, the primary one first. Empty when there are
    // none or the window system is unreachable.
    virtual std::vector<ScreenInfo> screens() = 0;

    // Creates an overlay window as described and orders it front without activating the program.
    // Null when overlays cannot be shown faithfully (no compositing manager: a translucent
    // window would show opaque and black out the screen); the implementation logs that once.
    virtual std::unique_ptr<OverlayWindow> createOverlayWindow(const OverlayWindowSpec& spec) = 0;
};

}  // namespace solvara
