#pragma once

#include <cstdint>
#include <functional>

#include "core/foundation/Date.h"

namespace solvara {

// Identifies one scheduled timer or delayed call of a RunLoop. 0 is never handed out.
using TimerId = std::uint64_t;

// The main thread's event loop: timers, delayed calls, calls queued from other threads, and
// work handed to a background worker. Everything the program does runs on the main thread;
// every callback below except background work runs there.
class RunLoop {
public:
    virtual ~RunLoop() = default;

    // The current instant (the same value Clock::now() answers). No failure.
    virtual Date now() const = 0;

    // Calls `action` every `intervalSeconds` on the main thread, first one interval from now,
    // until cancelled. A firing that comes late is not repeated to catch up. Intervals below
    // 0.001 s are raised to 0.001 s. Never fails; the id is unique for the loop's life.
    virtual TimerId scheduleRepeating(double intervalSeconds, std::function<void()> action) = 0;

    // Calls `action` once on the main thread after `delaySeconds` (0 or less: at the next
    // turn of the loop), unless cancelled before. Never fails.
    virtual TimerId scheduleOnce(double delaySeconds, std::function<void()> action) = 0;

    // Stops a timer or delayed call; its action is not called again, and is released. An id
    // that is unknown, already fired (one-shot) or already cancelled is ignored. Safe to call
    // from inside the timer's own action.
    virtual void cancel(TimerId id) = 0;

    // True while the timer or delayed call is still due to fire.
    virtual bool isScheduled(TimerId id) const = 0;

    // Queues `action` to run on the main thread after the current event, in posting order.
    // The only member that may be called from any thread.
    virtual void postToMain(std::function<void()> action) = 0;

    // Posts like postToMain(), from any thread, for as long as it is kept: background work
    // takes one before it starts, because it may finish after the loop is gone (the program
    // quitting), when posting does nothing.
    using MainPoster = std::function<void(std::function<void()>)>;
    virtual MainPoster mainPoster() = 0;

    // Runs `work` on a background worker thread, not on the main thread; it may block (wait
    // for a child process) and hands results back through a mainPoster(). Work still running at
    // exit is abandoned. Never fails: a worker pool that cannot start a thread queues the work.
    virtual void runInBackground(std::function<void()> work) = 0;
};

}  // namespace solvara
