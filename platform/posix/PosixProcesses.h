#pragma once

#include <memory>
#include <vector>

#include <sys/types.h>

#include "platform/Processes.h"

namespace solvara {

// Children through fork and exec. Between the two only async-signal-safe calls run (the
// program has other threads); the child resets signal dispositions and mask, puts its standard
// streams on the null device, marks every other inherited descriptor close-on-exec, and, with
// endWithParent, asks for SIGTERM when the launching thread's process goes away. An exec failure
// comes back through a close-on-exec pipe as the child's errno.
class PosixProcesses : public Processes {
public:
    PosixProcesses();

    std::unique_ptr<Process> launch(const std::string& executable, const std::vector<std::string>& arguments,
                                    const LaunchOptions& options, std::string& error) override;
    Completion runToCompletion(const std::string& executable, const std::vector<std::string>& arguments,
                               double timeoutSeconds) override;

private:
    void reapOrphans();

    std::shared_ptr<std::vector<pid_t>> orphans_;
};

}  // namespace solvara
