#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace solvara {

// Diagnostics as "[Component] text" lines on stderr (the session journal keeps them).
class Log {
public:
    static void write(std::string_view component, std::string_view text);

    // Lines go to `sink` instead of stderr until reset: the program routes them to its platform
    // log, tests capture them to assert on diagnostics.
    static void setSink(std::function<void(const std::string& line)> sink);
    static void setSinkForTesting(std::function<void(const std::string& line)> sink);
    static void resetForTesting();
};

}  // namespace solvara
