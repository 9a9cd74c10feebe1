#pragma once

#include <functional>

#include <QWidget>

#include "app/shell/BreakWindow.h"
#include "app/ui/kit/Theme.h"
#include "platform/Geometry.h"

namespace solvara {

class BreakOverlayView;
class BreakSkipButton;

// The top-level widget of one break window: frameless, kept above the applications, covering
// one screen, with the break view filling it and the Skip button in its top-right corner.
class BreakOverlayWindow : public QWidget {
public:
    // The floating level: above the applications, below the desktop's panels.
    static constexpr int level = 3;
    static constexpr int skipMargin = 24;

    BreakOverlayWindow(const Rect& frame, const BreakWindowContent& content, const Theme& theme,
                       std::function<void()> onSkip);

    void setContent(const BreakWindowContent& content);
    Rect frameRect() const { return frame_; }

    BreakOverlayView* view() const { return view_; }
    BreakSkipButton* skipButton() const { return skipButton_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Rect frame_;
    BreakOverlayView* view_;
    BreakSkipButton* skipButton_;
};

}  // namespace solvara
