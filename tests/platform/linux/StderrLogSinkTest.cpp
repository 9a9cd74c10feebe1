#include "platform/linux/StderrLogSink.h"

#include <cerrno>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace solvara {
namespace {

class Pipe {
public:
    Pipe() { EXPECT_EQ(pipe(fds_), 0); }
    ~Pipe() {
        close(fds_[0]);
        close(fds_[1]);
    }
    int readEnd() const { return fds_[0]; }
    int writeEnd() const { return fds_[1]; }

    std::string drain() const {
        fcntl(fds_[0], F_SETFL, O_NONBLOCK);
        std::string text;
        char buffer[4096];
        ssize_t n = 0;
        while ((n = read(fds_[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }

private:
    int fds_[2] = {-1, -1};
};

TEST(StderrLogSinkTest, WritesWholeLinesEachWithItsLineFeed) {
    Pipe pipe;
    StderrLogSink sink(pipe.writeEnd());
    sink.writeLine("[DisplayManager] first");
    sink.writeLine("[QtScreens] second");
    EXPECT_EQ(pipe.drain(), "[DisplayManager] first\n[QtScreens] second\n");
}

TEST(StderrLogSinkTest, AFullPipeDropsTheLineInsteadOfBlocking) {
    Pipe pipe;
    fcntl(pipe.writeEnd(), F_SETFL, O_NONBLOCK);
    const std::string filler(4096, 'x');
    while (write(pipe.writeEnd(), filler.data(), filler.size()) > 0) {
    }
    ASSERT_EQ(errno, EAGAIN);
    fcntl(pipe.writeEnd(), F_SETFL, 0);  // blocking again, as stderr usually is

    StderrLogSink sink(pipe.writeEnd());
    sink.writeLine("[Test] dropped");  // would hang here if it waited for a reader
    const std::string everything = pipe.drain();
    EXPECT_EQ(everything.find("dropped"), std::string::npos);

    sink.writeLine("[Test] delivered");
    EXPECT_EQ(pipe.drain(), "[Test] delivered\n");
}

}  // namespace
}  // namespace solvara
