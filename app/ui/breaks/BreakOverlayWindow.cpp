#include "app/ui/breaks/BreakOverlayWindow.h"

#include <cmath>

#include <QGridLayout>
#include <QTimer>

#include "app/ui/breaks/BreakOverlayView.h"
#include "app/ui/breaks/BreakSkipButton.h"
#include "platform/linux/OverlayWidget.h"

namespace solvara {

BreakOverlayWindow::BreakOverlayWindow(const Rect& frame, const BreakWindowContent& content, const Theme& theme,
                                       std::function<void()> onSkip)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      frame_(frame),
      view_(new BreakOverlayView(content.breakScreenType, content.remainingSeconds, theme, this)),
      skipButton_(new BreakSkipButton(this)) {
    // Set before the native window exists: it picks a visual with alpha for the backdrop.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle("Solvara");
    // Stacked with the overlay windows: the tint and the dimmer stay above it.
    setProperty(OverlayWidget::levelProperty, level);
    setGeometry(static_cast<int>(std::floor(frame.x)), static_cast<int>(std::floor(frame.y)),
                static_cast<int>(std::ceil(frame.width)), static_cast<int>(std::ceil(frame.height)));

    auto* fill = new QGridLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(view_, 0, 0);
    skipButton_->resize(skipButton_->sizeHint());
    skipButton_->raise();

    QObject::connect(skipButton_, &QAbstractButton::clicked, this, [this, onSkip = std::move(onSkip)] {
        // After the click has been handled: skipping closes this very window.
        QTimer::singleShot(0, this, [onSkip] {
            if (onSkip) onSkip();
        });
    });
}

void BreakOverlayWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    skipButton_->move(width() - skipButton_->width() - skipMargin, skipMargin);
}

void BreakOverlayWindow::setContent(const BreakWindowContent& content) {
    view_->setContent(content.breakScreenType, content.remainingSeconds);
}

}  // namespace solvara
