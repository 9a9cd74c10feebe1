#pragma once

#include <optional>
#include <string>

namespace solvara {

// Declared for blocking the keyboard during breaks, which the program does not do: no instance
// is ever created, and the stored setting that names it has no effect.
class KeyboardBlocker {
public:
    bool isBlocking = false;
    std::optional<std::string> lastError;
};

}  // namespace solvara
