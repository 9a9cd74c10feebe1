#include "app/shell/FlowDetector.h"

#include <algorithm>
#include <limits>

namespace solvara {

FlowDetector::FlowDetector(Workspace& workspace, RunLoop& runLoop) : workspace_(workspace), runLoop_(runLoop) {}

void FlowDetector::start() {
    checkTimer = Timer::repeating(runLoop_, checkInterval, [this] { check(); });
}

void FlowDetector::stop() {
    checkTimer.invalidate();
    isInFlowState = false;
    activityStartTime.reset();
}

void FlowDetector::check() {
    const std::optional<double> keys = workspace_.secondsSinceLastEvent(InputEventKind::keyDown);
    const std::optional<double> clicks = workspace_.secondsSinceLastEvent(InputEventKind::leftMouseDown);
    // Unwatchable input counts as a gap: a flow that nobody saw must never hold breaks back.
    const double idle = (keys && clicks) ? std::min(*keys, *clicks) : std::numeric_limits<double>::infinity();

    if (idle < maxGapSeconds) {
        const Date now = runLoop_.now();
        if (!activityStartTime) activityStartTime = now - idle;  // the stretch dates from the last input
        const double minutes = (now - *activityStartTime) / 60.0;
        if (minutes >= flowThresholdMinutes && !isInFlowState) {
            isInFlowState = true;
            if (onFlowStateChanged) onFlowStateChanged(true);
        }
        return;
    }

    if (isInFlowState) {
        isInFlowState = false;
        if (onFlowStateChanged) onFlowStateChanged(false);
    }
    activityStartTime.reset();
}

}  // namespace solvara
