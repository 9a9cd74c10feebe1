#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace solvara {

struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    static Uuid random();  // version 4
    // Accepts the 8-4-4-4-12 hexadecimal form in either case; anything else is empty.
    static std::optional<Uuid> parse(std::string_view text);
    // Upper-case 8-4-4-4-12 form, as stored.
    std::string string() const;

    auto operator<=>(const Uuid&) const = default;
};

}  // namespace solvara
