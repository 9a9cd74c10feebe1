#include "platform/LogRoute.h"

#include "core/foundation/Log.h"

namespace solvara {

LogRoute::LogRoute(LogSink& sink) {
    Log::setSink([&sink](const std::string& line) { sink.writeLine(line); });
}

LogRoute::~LogRoute() { Log::setSink(nullptr); }

}  // namespace solvara
