#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

#include "platform/OverlayWindow.h"
#include "platform/Screens.h"

namespace solvara {

// The overlay windows of one back end, one per screen, keyed by the screen's display id.
// A screen the window system cannot name gets a key of its own above the 32-bit id range, so
// two such screens never share (and silently drop) a window.
class ScreenWindowMap {
public:
    using Key = std::uint64_t;

    // The display id for a screen that has one; 2^32 + its position in the screen list otherwise.
    static Key keyFor(const ScreenInfo& screen, std::size_t index);

    // Files `window` under `key`. A window already there is ordered out first, never left
    // showing behind the new one. A null window (overlays unavailable) files nothing.
    void put(Key key, std::unique_ptr<OverlayWindow> window);

    // Orders out every window in key order and forgets them all. Nothing to do when empty.
    void orderOutAll();

    bool empty() const { return windows_.empty(); }
    std::size_t size() const { return windows_.size(); }
    OverlayWindow* find(Key key) const;

    auto begin() const { return windows_.begin(); }
    auto end() const { return windows_.end(); }

private:
    std::map<Key, std::unique_ptr<OverlayWindow>> windows_;
};

}  // namespace solvara
