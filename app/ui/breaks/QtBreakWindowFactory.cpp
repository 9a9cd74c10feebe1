#include "app/ui/breaks/QtBreakWindowFactory.h"

#include "app/ui/breaks/BreakOverlayWindow.h"
#include "app/ui/breaks/QtBreakWindow.h"
#include "platform/linux/QtScreens.h"

namespace solvara {

std::unique_ptr<BreakWindow> QtBreakWindowFactory::createBreakWindow(const ScreenInfo& screen,
                                                                     const BreakWindowContent& content,
                                                                     std::function<void()> onSkip) {
    auto window = std::make_unique<BreakOverlayWindow>(screen.frame, content, *theme, std::move(onSkip));
    window->show();
    // Into its place among the overlay windows, below the tint and the dimmer.
    screens_.restack();
    return std::make_unique<QtBreakWindow>(std::move(window));
}

}  // namespace solvara
