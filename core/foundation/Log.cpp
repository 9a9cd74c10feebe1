#include "core/foundation/Log.h"

#include <cstdio>
#include <mutex>

namespace solvara {
namespace {

// Background workers (soundscape synthesis) log too.
std::mutex& sinkMutex() {
    static std::mutex m;
    return m;
}

std::function<void(const std::string&)>& sink() {
    static std::function<void(const std::string&)> current;
    return current;
}

}  // namespace

void Log::write(std::string_view component, std::string_view text) {
    std::string line;
    line.reserve(component.size() + text.size() + 3);
    line += '[';
    line += component;
    line += "] ";
    line += text;
    std::lock_guard lock(sinkMutex());
    if (auto& s = sink()) {
        s(line);
        return;
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void Log::setSink(std::function<void(const std::string& line)> s) {
    std::lock_guard lock(sinkMutex());
    sink() = std::move(s);
}

void Log::setSinkForTesting(std::function<void(const std::string& line)> s) { setSink(std::move(s)); }

void Log::resetForTesting() {
    std::lock_guard lock(sinkMutex());
    sink() = nullptr;
}

}  // namespace solvara
