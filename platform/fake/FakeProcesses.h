#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/fake/FakeEventLog.h"

namespace solvara {

// One pretend child process; tests end it with `running = false`.
struct FakeProcessRecord {
    std::string executable;
    std::vector<std::string> arguments;
    Processes::LaunchOptions options;
    std::int64_t pid = 0;
    bool running = true;
    int terminateRequests = 0;
};

class FakeProcess : public Process {
public:
    FakeProcess(std::shared_ptr<FakeProcessRecord> record, FakeEventLog* events)
        : record_(std::move(record)), events_(events) {}

    std::int64_t processIdentifier() const override { return record_->pid; }
    bool isRunning() override { return record_->running; }
    void terminate() override;

private:
    std::shared_ptr<FakeProcessRecord> record_;
    FakeEventLog* events_;
};

// Records launches; runToCompletion() answers a scripted completion (or calls `onRun`).
class FakeProcesses : public Processes {
public:
    explicit FakeProcesses(FakeEventLog* events = nullptr) : events_(events) {}

    std::unique_ptr<Process> launch(const std::string& executable, const std::vector<std::string>& arguments,
                                    const LaunchOptions& options, std::string& error) override;
    Completion runToCompletion(const std::string& executable, const std::vector<std::string>& arguments,
                               double timeoutSeconds) override;

    // Processes launched and still running.
    std::size_t runningCount() const;

    // Scripted.
    std::string launchError;  // non-empty: launch() fails with it
    Completion completion{true, "", 0, ""};
    std::function<Completion(const std::string&, const std::vector<std::string>&)> onRun;

    // Recorded.
    std::vector<std::shared_ptr<FakeProcessRecord>> launched;
    struct Run {
        std::string executable;
        std::vector<std::string> arguments;
        double timeoutSeconds = 0;
    };
    std::vector<Run> runs;  // guarded by runsMutex: runToCompletion() is called from workers

    mutable std::mutex runsMutex;

private:
    FakeEventLog* events_;
    std::int64_t nextPid_ = 4242;
};

}  // namespace solvara
