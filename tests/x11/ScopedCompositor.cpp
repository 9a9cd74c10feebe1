#include "tests/x11/ScopedCompositor.h"

#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/platform/linux/QtTestApplication.h"
#include "tests/x11/SecondClient.h"

namespace solvara::testing {

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    return processEventsUntil(done, static_cast<int>(bound.count()));
}

bool ScopedCompositor::installed() { return std::system("command -v picom >/dev/null 2>&1") == 0; }

ScopedCompositor::ScopedCompositor(SecondClient& client) : client_(client) {
    pid_ = fork();
    if (pid_ == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 1);
        dup2(null, 2);
        execlp("picom", "picom", "--config", "/dev/null", "--backend", "xrender", static_cast<char*>(nullptr));
        _exit(127);
    }
    running_ = pid_ > 0 && waitUntil([this] { return client_.compositorRuns(); });
}

ScopedCompositor::~ScopedCompositor() { stop(); }

void ScopedCompositor::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    running_ = false;
    waitUntil([this] { return !client_.compositorRuns(); });
}

}  // namespace solvara::testing
