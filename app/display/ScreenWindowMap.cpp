#include "app/display/ScreenWindowMap.h"

namespace solvara {

ScreenWindowMap::Key ScreenWindowMap::keyFor(const ScreenInfo& screen, std::size_t index) {
    if (screen.displayId) return *screen.displayId;
    return (Key{1} << 32) + index;
}

void ScreenWindowMap::put(Key key, std::unique_ptr<OverlayWindow> window) {
    if (!window) return;
    auto it = windows_.find(key);
    if (it != windows_.end()) {
        it->second->orderOut();
        it->second = std::move(window);
        return;
    }
    windows_.emplace(key, std::move(window));
}

void ScreenWindowMap::orderOutAll() {
    for (auto& [key, window] : windows_) window->orderOut();
    windows_.clear();
}

OverlayWindow* ScreenWindowMap::find(Key key) const {
    auto it = windows_.find(key);
    return it == windows_.end() ? nullptr : it->second.get();
}

}  // namespace solvara
