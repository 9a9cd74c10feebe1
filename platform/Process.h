#pragma once

#include <cstdint>

namespace solvara {

// A child process started by Processes::launch. Destroying the handle neither waits for nor
// ends the process. Main thread only.
class Process {
public:
    virtual ~Process() = default;

    virtual std::int64_t processIdentifier() const = 0;

    // True until the process has exited (an exited child is reaped here, leaving no zombie).
    virtual bool isRunning() = 0;

    // Sends the terminate request (SIGTERM) and does not wait. Ignored once the process ended.
    virtual void terminate() = 0;
};

}  // namespace solvara
