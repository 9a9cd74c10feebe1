#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace solvara {

// One constexpr table per enumeration maps each case to its raw value (the shown and stored
// text). Parsing is an exact, case-sensitive match of the whole text.
template <class E>
struct EnumEntry {
    E value;
    std::string_view raw;
};

template <class E, std::size_t N>
constexpr std::string_view rawValueIn(const std::array<EnumEntry<E>, N>& table, E value) {
    for (const auto& entry : table) {
        if (entry.value == value) return entry.raw;
    }
    return {};
}

template <class E, std::size_t N>
constexpr std::optional<E> fromRawValueIn(const std::array<EnumEntry<E>, N>& table, std::string_view raw) {
    for (const auto& entry : table) {
        if (entry.raw == raw) return entry.value;
    }
    return std::nullopt;
}

}  // namespace solvara
