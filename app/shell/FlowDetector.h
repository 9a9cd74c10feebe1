#pragma once

#include <functional>
#include <optional>

#include "core/foundation/Date.h"
#include "platform/RunLoop.h"
#include "platform/Timer.h"
#include "platform/Workspace.h"

namespace solvara {

// Notices a long stretch of uninterrupted work: key presses or clicks with no gap of
// `maxGapSeconds` or more for `flowThresholdMinutes`. Mouse movement alone is not work.
// Checks every 10 seconds.
class FlowDetector {
public:
    static constexpr double checkInterval = 10.0;

    FlowDetector(Workspace& workspace, RunLoop& runLoop);

    FlowDetector(const FlowDetector&) = delete;
    FlowDetector& operator=(const FlowDetector&) = delete;

    // (Re)starts the check timer; the first check comes one interval later.
    void start();
    // Stops the timer, leaves flow without a callback and forgets the start of the stretch.
    void stop();
    // One check, as the timer runs it.
    void check();

    std::function<void(bool inFlow)> onFlowStateChanged;
    int flowThresholdMinutes = 45;
    double maxGapSeconds = 120.0;
    bool isInFlowState = false;
    std::optional<Date> activityStartTime;
    Timer checkTimer;

private:
    Workspace& workspace_;
    RunLoop& runLoop_;
};

}  // namespace solvara
