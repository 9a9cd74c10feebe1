#include "core/foundation/Clock.h"

#include <chrono>

namespace solvara {
namespace {

std::function<Date()>& source() {
    static std::function<Date()> current;
    return current;
}

}  // namespace

Date Clock::now() {
    if (auto& s = source()) return s();
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return Date::fromUnixTime(std::chrono::duration<double>(since).count());
}

void Clock::setSourceForTesting(std::function<Date()> s) {
    source() = std::move(s);
}

void Clock::setFixedForTesting(Date date) {
    source() = [date] { return date; };
}

void Clock::resetForTesting() {
    source() = nullptr;
}

}  // namespace solvara
