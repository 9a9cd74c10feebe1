#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace solvara {

// What the program and the night-light helper agree on: where the control file and the saved
// night-light state live, and the control file's exact content.
//
// The control file holds the target colour temperature as decimal digits (for example "3400"),
// or "0" just before the helper is stopped; no sign, no leading zero, no newline, nothing else.
// It lives in the user's private runtime directory, never in a shared /tmp where another user
// could plant it.
class NightLightControlFile {
public:
    static constexpr std::string_view fileName = "solvara_ns_target";
    static constexpr std::string_view savedStateFileName = "nightlight-saved-state.json";
    // Longer content is not ours: the helper reads at most this much.
    static constexpr std::size_t maxBytes = 16;
    static constexpr std::size_t maxSavedStateBytes = 64 * 1024;
    static constexpr std::int64_t stopValue = 0;

    // The control file's path; empty when there is no private runtime directory.
    static std::optional<std::string> path(Files& files);
    // The saved user's night-light state, in the persistent state directory (it must survive a
    // crash and a logout); empty when there is none.
    static std::optional<std::string> savedStatePath(Files& files);

    static std::string encode(std::int64_t kelvin);

    // Accepts exactly "0" or 1 to 6 digits without a leading zero; anything else (sign,
    // whitespace, newline, other bytes, empty) is empty.
    static std::optional<std::int64_t> parse(std::string_view text);
};

}  // namespace solvara
