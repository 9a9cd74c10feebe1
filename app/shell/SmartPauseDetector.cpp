#include "app/shell/SmartPauseDetector.h"

namespace solvara {

bool SmartPauseDetector::isFrontmostAppFullScreen() const {
    if (!workspace_.frontmostApplication()) return false;
    return workspace_.isActiveWindowFullScreen();
}

}  // namespace solvara
