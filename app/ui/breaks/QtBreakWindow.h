#pragma once

#include <memory>

#include "app/shell/BreakWindow.h"

namespace solvara {

class BreakOverlayWindow;

// The handle of one break window. Destroying it hides the window at once and releases the
// widget on a later turn of the event loop, so a window can go from inside its own Skip click.
class QtBreakWindow : public BreakWindow {
public:
    explicit QtBreakWindow(std::unique_ptr<BreakOverlayWindow> window);
    ~QtBreakWindow() override;

    QtBreakWindow(const QtBreakWindow&) = delete;
    QtBreakWindow& operator=(const QtBreakWindow&) = delete;

    void setContent(const BreakWindowContent& content) override;
    void makeKeyAndOrderFront() override;
    void orderOut() override;
    Rect frame() const override;

    BreakOverlayWindow* widget() const { return window_.get(); }

private:
    std::unique_ptr<BreakOverlayWindow> window_;
};

}  // namespace solvara
