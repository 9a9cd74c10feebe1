#include "platform/LogRoute.h"

#include "core/foundation/Log.h"

namespace solvara {

// Log's replaceable sink is the one hook the foundation offers; the program uses it the same
// way tests do.
LogRoute::LogRoute(LogSink& sink) {
    Log::setSink([&sink](const std::string& line) { sink.writeLine(line); });
}

LogRoute::~LogRoute() { Log::resetForTesting(); }

}  // namespace solvara
