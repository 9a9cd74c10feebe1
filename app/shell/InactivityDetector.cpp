#include "app/shell/InactivityDetector.h"

#include <algorithm>
#include <optional>

namespace solvara {

InactivityDetector::InactivityDetector(Workspace& workspace, RunLoop& runLoop)
    : workspace_(workspace), runLoop_(runLoop) {}

void InactivityDetector::start() {
    timer = Timer::repeating(runLoop_, checkInterval, [this] { check(); });
}

void InactivityDetector::stop() {
    timer.invalidate();
    wasInactive = false;
}

void InactivityDetector::check() {
    const std::optional<double> mouse = workspace_.secondsSinceLastEvent(InputEventKind::mouseMoved);
    const std::optional<double> keys = workspace_.secondsSinceLastEvent(InputEventKind::keyDown);
    const std::optional<double> clicks = workspace_.secondsSinceLastEvent(InputEventKind::leftMouseDown);
    // A session whose input cannot be watched never counts as idle: pausing on a guess would
    // switch the filter off under a working user.
    if (!mouse || !keys || !clicks) return;
    const double idle = std::min({*mouse, *keys, *clicks});

    if (idle >= thresholdSeconds) {
        if (wasInactive) return;
        wasInactive = true;
        if (onInactive) onInactive();
    } else {
        if (!wasInactive) return;
        wasInactive = false;
        if (onResume) onResume();
    }
}

}  // namespace solvara
