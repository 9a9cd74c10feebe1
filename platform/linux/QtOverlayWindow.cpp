#include "platform/linux/QtOverlayWindow.h"

#include "platform/linux/OverlayWidget.h"

namespace solvara {

QtOverlayWindow::QtOverlayWindow(std::unique_ptr<OverlayWidget> widget, std::function<void(OverlayWidget*)> onGone)
    : widget_(std::move(widget)), onGone_(std::move(onGone)) {}

QtOverlayWindow::~QtOverlayWindow() {
    orderOut();
    widget_.reset();
}

void QtOverlayWindow::setBackground(Color color) { widget_->setBackground(color); }

void QtOverlayWindow::setDrawing(const OverlayDrawing& drawing) { widget_->setDrawing(drawing); }

void QtOverlayWindow::orderOut() {
    if (orderedOut_) return;
    orderedOut_ = true;
    widget_->hide();
    if (onGone_) onGone_(widget_.get());
}

Rect QtOverlayWindow::frame() const { return widget_->frameRect(); }

}  // namespace solvara
