#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Process.h"

namespace solvara {

// Starting other programs.
class Processes {
public:
    struct LaunchOptions {
        // The child is sent SIGTERM when this process dies, however it dies (Linux:
        // PR_SET_PDEATHSIG set in the child before exec, and the child is not started at all if
        // this process is already gone by then). Linux ties the signal to the launching thread:
        // launch such children from the main thread only.
        bool endWithParent = false;
    };

    // The outcome of runToCompletion().
    struct Completion {
        bool launched = false;
        std::string launchError;   // why it did not start, for people; empty when launched
        int exitStatus = -1;       // the exit code; 128 + signal number when killed by a signal
        std::string standardError; // everything the child wrote to stderr (UTF-8 not checked)
    };

    virtual ~Processes() = default;

    // Starts `executable` (an absolute path, not searched in PATH) with `arguments` (not passed
    // through a shell), stdin and stdout/stderr on the null device, and does not wait. Null on
    // failure with `error` set to a reason for people ("No such file or directory").
    virtual std::unique_ptr<Process> launch(const std::string& executable, const std::vector<std::string>& arguments,
                                            const LaunchOptions& options, std::string& error) = 0;

    // Starts `executable` with `arguments`, stdout on the null device, stderr collected, and
    // blocks until it exits or `timeoutSeconds` pass (then it is killed and the exit status
    // reports the signal). Call it only from background work (RunLoop::runInBackground).
    virtual Completion runToCompletion(const std::string& executable, const std::vector<std::string>& arguments,
                                       double timeoutSeconds) = 0;
};

}  // namespace solvara
