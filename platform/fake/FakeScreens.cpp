#include "platform/fake/FakeScreens.h"

#include <algorithm>
#include <string>

namespace solvara {

FakeOverlayWindow::~FakeOverlayWindow() { record_->destroyed = true; }

void FakeOverlayWindow::setBackground(Color color) {
    record_->background = color;
    ++record_->backgroundChanges;
}

void FakeOverlayWindow::setDrawing(const OverlayDrawing& drawing) {
    record_->drawing = drawing;
    ++record_->drawingChanges;
}

void FakeOverlayWindow::orderOut() {
    if (!record_->orderedOut && events_ != nullptr) events_->add("orderOut " + std::to_string(record_->spec.level));
    record_->orderedOut = true;
}

std::unique_ptr<OverlayWindow> FakeScreens::createOverlayWindow(const OverlayWindowSpec& spec) {
    if (!overlaysAvailable) return nullptr;
    auto record = std::make_shared<FakeWindowRecord>();
    record->spec = spec;
    record->background = spec.background;
    record->drawing = spec.drawing;
    windows.push_back(record);
    if (events_ != nullptr) events_->add("window+ " + std::to_string(spec.level));
    return std::make_unique<FakeOverlayWindow>(std::move(record), events_);
}

std::vector<std::shared_ptr<FakeWindowRecord>> FakeScreens::visibleWindows() const {
    std::vector<std::shared_ptr<FakeWindowRecord>> result;
    std::copy_if(windows.begin(), windows.end(), std::back_inserter(result), [](const auto& w) { return w->visible(); });
    return result;
}

std::vector<std::shared_ptr<FakeWindowRecord>> FakeScreens::visibleWindows(int level) const {
    std::vector<std::shared_ptr<FakeWindowRecord>> result;
    std::copy_if(windows.begin(), windows.end(), std::back_inserter(result),
                 [level](const auto& w) { return w->visible() && w->spec.level == level; });
    return result;
}

std::size_t FakeScreens::closedWithoutOrderOut() const {
    return static_cast<std::size_t>(
        std::count_if(windows.begin(), windows.end(), [](const auto& w) { return w->destroyed && !w->orderedOut; }));
}

}  // namespace solvara
