#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace solvara {

// The short named alert sounds the program plays at phase changes and breaks ("Tink", "Hero",
// "Glass", "Ping", "Purr", "Breeze"). The desktop has no such named sounds of its own, so each
// is synthesised here: a few decaying partials (and for "Breeze" a swell of soft noise).
class AlertSounds {
public:
    static constexpr int sampleRate = 44100;

    // A complete mono WAV file of the named sound; empty for an unknown name.
    static std::optional<std::vector<std::uint8_t>> wavData(std::string_view name);
};

}  // namespace solvara
