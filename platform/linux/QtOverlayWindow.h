#pragma once

#include <functional>
#include <memory>

#include "platform/OverlayWindow.h"

namespace solvara {

class OverlayWidget;

// The handle QtScreens gives out: owns its widget; destroying the handle closes the window.
class QtOverlayWindow : public OverlayWindow {
public:
    // `onGone` runs once when the window is ordered out or destroyed (QtScreens forgets it).
    QtOverlayWindow(std::unique_ptr<OverlayWidget> widget, std::function<void(OverlayWidget*)> onGone);
    ~QtOverlayWindow() override;
    QtOverlayWindow(const QtOverlayWindow&) = delete;
    QtOverlayWindow& operator=(const QtOverlayWindow&) = delete;

    void setBackground(Color color) override;
    void setDrawing(const OverlayDrawing& drawing) override;
    void orderOut() override;
    Rect frame() const override;

private:
    std::unique_ptr<OverlayWidget> widget_;
    std::function<void(OverlayWidget*)> onGone_;
    bool orderedOut_ = false;
};

}  // namespace solvara
