#pragma once

#include <memory>
#include <vector>

#include <sys/types.h>

#include "platform/Process.h"

namespace solvara {

// A child started with fork and exec. A handle dropped while its child still runs passes the
// pid to `orphans`, which PosixProcesses reaps later, so no zombie stays behind.
class PosixProcess : public Process {
public:
    PosixProcess(pid_t pid, std::shared_ptr<std::vector<pid_t>> orphans) : pid_(pid), orphans_(std::move(orphans)) {}
    ~PosixProcess() override;

    PosixProcess(const PosixProcess&) = delete;
    PosixProcess& operator=(const PosixProcess&) = delete;

    std::int64_t processIdentifier() const override { return pid_; }
    bool isRunning() override;
    void terminate() override;

private:
    pid_t pid_;
    bool exited_ = false;
    std::shared_ptr<std::vector<pid_t>> orphans_;
};

}  // namespace solvara
