#pragma once

#include <functional>
#include <memory>

#include "app/shell/BreakWindow.h"
#include "platform/Screens.h"

namespace solvara {

// Makes the break windows: the application shell decides when and where, the view layer how
// they look. Main thread only.
class BreakWindowFactory {
public:
    virtual ~BreakWindowFactory() = default;

    // A break window covering the whole of `screen`, showing `content`, brought to the front
    // without the keyboard focus. `onSkip` runs on the main thread when the user presses Skip,
    // after the button's own event has been handled, so it may destroy the window. Null when no
    // window can be made (logged by the implementation).
    virtual std::unique_ptr<BreakWindow> createBreakWindow(const ScreenInfo& screen, const BreakWindowContent& content,
                                                           std::function<void()> onSkip) = 0;
};

}  // namespace solvara
