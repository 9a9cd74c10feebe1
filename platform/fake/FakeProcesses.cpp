#include "platform/fake/FakeProcesses.h"

#include <algorithm>

namespace solvara {

void FakeProcess::terminate() {
    if (!record_->running) return;
    ++record_->terminateRequests;
    record_->running = false;
    if (events_ != nullptr) events_->add("terminate " + std::to_string(record_->pid));
}

std::unique_ptr<Process> FakeProcesses::launch(const std::string& executable, const std::vector<std::string>& arguments,
                                               const LaunchOptions& options, std::string& error) {
    if (!launchError.empty()) {
        error = launchError;
        if (events_ != nullptr) events_->add("launchFailed " + executable);
        return nullptr;
    }
    auto record = std::make_shared<FakeProcessRecord>();
    record->executable = executable;
    record->arguments = arguments;
    record->options = options;
    record->pid = nextPid_++;
    launched.push_back(record);
    if (events_ != nullptr) events_->add("launch " + executable);
    return std::make_unique<FakeProcess>(std::move(record), events_);
}

Processes::Completion FakeProcesses::runToCompletion(const std::string& executable,
                                                     const std::vector<std::string>& arguments,
                                                     double timeoutSeconds) {
    {
        std::lock_guard lock(runsMutex);
        runs.push_back(Run{executable, arguments, timeoutSeconds});
    }
    return onRun ? onRun(executable, arguments) : completion;
}

std::size_t FakeProcesses::runningCount() const {
    return static_cast<std::size_t>(
        std::count_if(launched.begin(), launched.end(), [](const auto& p) { return p->running; }));
}

}  // namespace solvara
