#pragma once

#include "app/shell/BreakWindowFactory.h"
#include "app/ui/kit/Theme.h"

namespace solvara {

class QtScreens;

// Break windows as Qt widgets, one top-level window per screen, stacked with the overlay
// windows of `screens`.
class QtBreakWindowFactory : public BreakWindowFactory {
public:
    explicit QtBreakWindowFactory(QtScreens& screens) : screens_(screens) {}

    std::unique_ptr<BreakWindow> createBreakWindow(const ScreenInfo& screen, const BreakWindowContent& content,
                                                   std::function<void()> onSkip) override;

    // The colours of the windows made from now on.
    const Theme* theme = &Theme::light();

private:
    QtScreens& screens_;
};

}  // namespace solvara
