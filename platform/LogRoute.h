#pragma once

#include "platform/LogSink.h"

namespace solvara {

// Sends every solvara::Log line to `sink` for as long as the route lives (the program's main
// and the test fixtures hold one); afterwards lines go to stderr again. One route at a time.
class LogRoute {
public:
    explicit LogRoute(LogSink& sink);
    ~LogRoute();

    LogRoute(const LogRoute&) = delete;
    LogRoute& operator=(const LogRoute&) = delete;
};

}  // namespace solvara
