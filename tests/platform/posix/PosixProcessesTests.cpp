#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/posix/PosixProcesses.h"

namespace solvara {
namespace {

// How long a wait may take before the test calls it a fault: generous however busy the machine,
// it only keeps a broken build from hanging.
constexpr std::chrono::seconds patience{30};

// A child that would run far past every wait: one seen to end within a wait was ended.
const std::vector<std::string> sleepLong{"3600"};

// Polls until `done` holds or the patience runs out; answers `done()`.
template <class F>
bool eventually(F done) {
    const auto end = std::chrono::steady_clock::now() + patience;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Gone, or a zombie waiting for a parent that is not us.
bool hasEnded(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string ignored, state;
    if (!(stat >> ignored)) return true;
    std::getline(stat, ignored, ')');
    stat >> state;
    return state == "Z" || state == "X";
}

TEST(PosixProcesses, RunToCompletionReportsStatusAndStandardError) {
    PosixProcesses processes;
    auto ok = processes.runToCompletion("/bin/sh", {"-c", "echo out; exit 0"}, 30);
    EXPECT_TRUE(ok.launched);
    EXPECT_EQ(ok.exitStatus, 0);
    EXPECT_EQ(ok.standardError, "");

    auto failed = processes.runToCompletion("/bin/sh", {"-c", "echo 'it broke' >&2; exit 3", "x"}, 30);
    EXPECT_EQ(failed.exitStatus, 3);
    EXPECT_EQ(failed.standardError, "it broke\n");

    auto missing = processes.runToCompletion("/no/such/interpreter", {}, 30);
    EXPECT_FALSE(missing.launched);
    EXPECT_EQ(missing.launchError, "No such file or directory");

    auto hung = processes.runToCompletion("/bin/sleep", {"30"}, 0.2);
    EXPECT_TRUE(hung.launched);
    EXPECT_EQ(hung.exitStatus, 128 + SIGKILL);
}

TEST(PosixProcesses, LaunchRunsDetachedUntilTerminated) {
    PosixProcesses processes;
    std::string error;
    auto child = processes.launch("/bin/sleep", sleepLong, {}, error);
    ASSERT_TRUE(child);
    EXPECT_GT(child->processIdentifier(), 0);
    EXPECT_TRUE(child->isRunning());
    child->terminate();
    if (!eventually([&] { return !child->isRunning(); })) {
        ADD_FAILURE() << "the child still runs";
        kill(static_cast<pid_t>(child->processIdentifier()), SIGKILL);
    }
    child->terminate();  // ignored once ended

    EXPECT_FALSE(processes.launch("/no/such/helper", {}, {}, error));
    EXPECT_EQ(error, "No such file or directory");
}

TEST(PosixProcesses, AChildLaunchedToEndWithItsParentDoes) {
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t parent = fork();
    ASSERT_GE(parent, 0);
    if (parent == 0) {
        PosixProcesses processes;
        std::string error;
        Processes::LaunchOptions options;
        options.endWithParent = true;
        auto child = processes.launch("/bin/sleep", sleepLong, options, error);
        pid_t pid = child ? static_cast<pid_t>(child->processIdentifier()) : -1;
        ssize_t written = write(report[1], &pid, sizeof pid);
        _exit(written == sizeof pid ? 0 : 1);
    }
    close(report[1]);
    pid_t grandchild = -1;
    ASSERT_EQ(read(report[0], &grandchild, sizeof grandchild), static_cast<ssize_t>(sizeof grandchild));
    close(report[0]);
    int status = 0;
    waitpid(parent, &status, 0);
    ASSERT_GT(grandchild, 0);
    if (!eventually([&] { return hasEnded(grandchild); })) {
        ADD_FAILURE() << "the child outlived its parent";
        kill(grandchild, SIGKILL);
    }
}

}  // namespace
}  // namespace solvara
