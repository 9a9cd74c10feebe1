#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "core/foundation/Log.h"

namespace solvara::testing {

// Collects log lines for one scope instead of printing them.
class LogCapture {
public:
    LogCapture() {
        Log::setSinkForTesting([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { Log::resetForTesting(); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    bool contains(const std::string& fragment) const {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.find(fragment) != std::string::npos; });
    }

    std::vector<std::string> lines;
};

}  // namespace solvara::testing
