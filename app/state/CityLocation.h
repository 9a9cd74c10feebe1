#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Uuid.h"

namespace solvara {

// A built-in city that the manual location source can put the user at.
struct CityLocation {
    Uuid id;  // a fresh random id per entry and run; never stored
    std::string name;
    double lat = 0.0;  // degrees, north positive
    double lon = 0.0;  // degrees, east positive

    // Equal when the names are canonically equivalent Unicode (case-sensitive): a name stored
    // with a decomposed accent is the same selection as the preset spelled precomposed.
    // id, lat and lon play no part.
    bool operator==(const CityLocation& other) const;

    // Hashes the canonical form of the name only, consistent with ==.
    std::size_t hash() const;

    // The 140 built-in cities in picker order; built once, thread-safe, kept for the process.
    static const std::vector<CityLocation>& presets();

    // The first preset whose name equals `name` by the rule of ==; empty when none does.
    static std::optional<CityLocation> preset(std::string_view name);
};

}  // namespace solvara

template <>
struct std::hash<solvara::CityLocation> {
    std::size_t operator()(const solvara::CityLocation& city) const { return city.hash(); }
};
