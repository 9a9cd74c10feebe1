#include "platform/posix/PosixProcess.h"

#include <cerrno>
#include <csignal>

#include <sys/wait.h>

namespace solvara {

PosixProcess::~PosixProcess() {
    if (isRunning() && orphans_) orphans_->push_back(pid_);
}

bool PosixProcess::isRunning() {
    if (exited_) return false;
    int status = 0;
    pid_t result;
    do {
        result = waitpid(pid_, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == 0) return true;
    exited_ = true;  // reaped now, or no longer our child
    return false;
}

void PosixProcess::terminate() {
    if (isRunning()) kill(pid_, SIGTERM);
}

}  // namespace solvara
