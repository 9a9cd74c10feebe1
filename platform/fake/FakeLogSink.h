#pragma once

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "platform/LogSink.h"

namespace solvara {

// Keeps every line.
class FakeLogSink : public LogSink {
public:
    void writeLine(const std::string& line) override {
        std::lock_guard lock(mutex_);
        lines.push_back(line);
    }
    bool contains(const std::string& fragment) const {
        std::lock_guard lock(mutex_);
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.find(fragment) != std::string::npos; });
    }
    std::size_t count(const std::string& fragment) const {
        std::lock_guard lock(mutex_);
        return static_cast<std::size_t>(std::count_if(
            lines.begin(), lines.end(), [&](const std::string& l) { return l.find(fragment) != std::string::npos; }));
    }

    std::vector<std::string> lines;

private:
    mutable std::mutex mutex_;
};

}  // namespace solvara
