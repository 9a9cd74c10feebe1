#pragma once

#include <mutex>

#include "platform/LogSink.h"

namespace solvara {

// Diagnostic lines on standard error, one write per line so that lines from several threads
// never interleave; the session journal keeps them. A stderr that cannot take a line at once
// (a full pipe nobody reads) drops it rather than stall the main thread.
class StderrLogSink : public LogSink {
public:
    explicit StderrLogSink(int fileDescriptor = 2) : fd_(fileDescriptor) {}

    void writeLine(const std::string& line) override;

private:
    std::mutex mutex_;
    int fd_;
};

}  // namespace solvara
