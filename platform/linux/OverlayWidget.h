#pragma once

#include <QWidget>

#include "platform/OverlayWindow.h"

namespace solvara {

// The top-level widget behind one overlay window: frameless, kept out of the window manager's
// hands (override-redirect, so it sits on every workspace, cannot be moved and never takes
// focus), click-through when asked, with a per-pixel alpha surface that paints the overlay's
// background and drawing.
class OverlayWidget : public QWidget {
public:
    // Qt's dynamic property that places a top-level widget in the overlay stacking: a higher
    // level sits higher (vignette 3, tint 1000, dimmer 1001; break windows set a higher one).
    static constexpr const char* levelProperty = "solvaraOverlayLevel";

    explicit OverlayWidget(const OverlayWindowSpec& spec);

    void setBackground(Color color);
    void setDrawing(const OverlayDrawing& drawing);
    Rect frameRect() const { return frame_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Rect frame_;
    Color background_;
    OverlayDrawing drawing_;
};

}  // namespace solvara
