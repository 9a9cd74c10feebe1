#pragma once

#include <string>

namespace solvara {

// Where diagnostic lines end up. Program code writes through solvara::Log::write(component,
// text), which formats "[Component] text"; the program's start points Log at the platform's
// sink (LogRoute) so tests can capture the lines. The Linux sink writes them to stderr (the
// session journal keeps them); it must accept lines from any thread.
class LogSink {
public:
    virtual ~LogSink() = default;

    // One complete line without its line feed. Never fails (a full pipe drops the line).
    virtual void writeLine(const std::string& line) = 0;
};

}  // namespace solvara
