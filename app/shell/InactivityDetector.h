#pragma once

#include <functional>

#include "platform/RunLoop.h"
#include "platform/Timer.h"
#include "platform/Workspace.h"

namespace solvara {

// Notices when the user has left mouse and keyboard alone for `thresholdSeconds` and when they
// come back, each transition reported once, at the first check after it (every 30 seconds).
class InactivityDetector {
public:
    static constexpr double checkInterval = 30.0;

    InactivityDetector(Workspace& workspace, RunLoop& runLoop);

    InactivityDetector(const InactivityDetector&) = delete;
    InactivityDetector& operator=(const InactivityDetector&) = delete;

    // (Re)starts the check timer; the first check comes one interval later.
    void start();
    // Stops the timer and forgets the inactive state, without reporting a resume.
    void stop();
    // One check, as the timer runs it.
    void check();

    std::function<void()> onInactive;
    std::function<void()> onResume;
    double thresholdSeconds = 900.0;
    Timer timer;
    bool wasInactive = false;

private:
    Workspace& workspace_;
    RunLoop& runLoop_;
};

}  // namespace solvara
