#include "app/ui/breaks/QtBreakWindow.h"

#include "app/ui/breaks/BreakOverlayWindow.h"

namespace solvara {

QtBreakWindow::QtBreakWindow(std::unique_ptr<BreakOverlayWindow> window) : window_(std::move(window)) {}

QtBreakWindow::~QtBreakWindow() {
    window_->hide();
    window_.release()->deleteLater();
}

void QtBreakWindow::setContent(const BreakWindowContent& content) {
    window_->setContent(content);
}

void QtBreakWindow::makeKeyAndOrderFront() {
    window_->raise();
    window_->activateWindow();
}

void QtBreakWindow::orderOut() {
    window_->hide();
}

Rect QtBreakWindow::frame() const {
    return window_->frameRect();
}

}  // namespace solvara
