#include "platform/linux/StderrLogSink.h"

#include <cerrno>
#include <string>

#include <poll.h>
#include <unistd.h>

namespace solvara {

void StderrLogSink::writeLine(const std::string& line) {
    std::string text = line;
    text += '\n';
    std::lock_guard lock(mutex_);
    std::size_t written = 0;
    while (written < text.size()) {
        pollfd ready{fd_, POLLOUT, 0};
        const int state = poll(&ready, 1, 0);
        if (state < 0 && errno == EINTR) continue;
        if (state <= 0 || (ready.revents & POLLOUT) == 0) return;
        const ssize_t n = ::write(fd_, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;
        }
        written += static_cast<std::size_t>(n);
    }
}

}  // namespace solvara
