#include "platform/posix/PosixProcesses.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <linux/close_range.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/PosixProcess.h"

namespace solvara {

namespace {

struct Spawned {
    pid_t pid = -1;
    int error = 0;        // errno of a failed fork or exec
    int stderrRead = -1;  // read end of the child's stderr, when collected
};

// Everything the child needs is prepared before fork: it may not allocate afterwards.
Spawned spawn(const std::string& executable, const std::vector<std::string>& arguments, bool endWithParent,
              bool collectStderr) {
    std::vector<std::string> storage;
    storage.reserve(arguments.size() + 1);
    storage.push_back(executable);
    storage.insert(storage.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& s : storage) argv.push_back(s.data());
    argv.push_back(nullptr);

    Spawned result;
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        result.error = errno;
        return result;
    }
    int errPipe[2] = {-1, -1};
    if (collectStderr && pipe2(errPipe, O_CLOEXEC) != 0) {
        result.error = errno;
        close(report[0]);
        close(report[1]);
        return result;
    }
    const pid_t parent = getpid();

    const pid_t pid = fork();
    if (pid == 0) {
        sigset_t all;
        sigemptyset(&all);
        sigprocmask(SIG_SETMASK, &all, nullptr);
        struct sigaction defaults {};
        defaults.sa_handler = SIG_DFL;
        for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGPIPE, SIGCHLD, SIGQUIT}) sigaction(sig, &defaults, nullptr);
        if (endWithParent) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent) _exit(0);  // gone before the request took effect
        }
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
            dup2(collectStderr ? errPipe[1] : null, 2);
        }
        // Descriptors of the program (display connection, files) must not leak into the child.
        syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC);
        execv(executable.c_str(), argv.data());
        int error = errno;
        ssize_t ignored = write(report[1], &error, sizeof error);
        (void)ignored;
        _exit(127);
    }
    close(report[1]);
    if (collectStderr) close(errPipe[1]);
    if (pid < 0) {
        result.error = errno;
        close(report[0]);
        if (collectStderr) close(errPipe[0]);
        return result;
    }
    int childError = 0;
    ssize_t n;
    do {
        n = read(report[0], &childError, sizeof childError);
    } while (n < 0 && errno == EINTR);
    close(report[0]);
    if (n == static_cast<ssize_t>(sizeof childError)) {
        waitpid(pid, nullptr, 0);
        if (collectStderr) close(errPipe[0]);
        result.error = childError;
        return result;
    }
    result.pid = pid;
    result.stderrRead = collectStderr ? errPipe[0] : -1;
    return result;
}

int exitStatusOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

PosixProcesses::PosixProcesses() : orphans_(std::make_shared<std::vector<pid_t>>()) {}

void PosixProcesses::reapOrphans() {
    auto& pids = *orphans_;
    for (auto it = pids.begin(); it != pids.end();) {
        const pid_t r = waitpid(*it, nullptr, WNOHANG);
        it = (r == 0) ? it + 1 : pids.erase(it);
    }
}

std::unique_ptr<Process> PosixProcesses::launch(const std::string& executable, const std::vector<std::string>& arguments,
                                                const LaunchOptions& options, std::string& error) {
    reapOrphans();
    const Spawned child = spawn(executable, arguments, options.endWithParent, false);
    if (child.pid < 0) {
        error = std::strerror(child.error);
        return nullptr;
    }
    return std::make_unique<PosixProcess>(child.pid, orphans_);
}

Processes::Completion PosixProcesses::runToCompletion(const std::string& executable,
                                                      const std::vector<std::string>& arguments,
                                                      double timeoutSeconds) {
    Completion completion;
    const Spawned child = spawn(executable, arguments, false, true);
    if (child.pid < 0) {
        completion.launchError = std::strerror(child.error);
        return completion;
    }
    completion.launched = true;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(timeoutSeconds > 0 ? timeoutSeconds : 0));
    auto remainingMs = [&] {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return static_cast<int>(left < 0 ? 0 : left);
    };

    bool timedOut = false;
    char buffer[4096];
    for (;;) {
        pollfd p{child.stderrRead, POLLIN, 0};
        const int ready = poll(&p, 1, remainingMs());
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            timedOut = true;
            break;
        }
        const ssize_t n = read(child.stderrRead, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        if (completion.standardError.size() < 64 * 1024) completion.standardError.append(buffer, static_cast<std::size_t>(n));
    }
    close(child.stderrRead);

    // A hung child is killed at the deadline; waiting then ends soon after.
    bool killed = false;
    if (timedOut) {
        kill(child.pid, SIGKILL);
        killed = true;
    }
    int status = 0;
    for (;;) {
        const pid_t r = waitpid(child.pid, &status, WNOHANG);
        if (r == child.pid) break;
        if (r < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (!killed && remainingMs() == 0) {
            kill(child.pid, SIGKILL);
            killed = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    completion.exitStatus = exitStatusOf(status);
    return completion;
}

}  // namespace solvara
