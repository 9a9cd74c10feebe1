#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/EnumTable.h"
#include "core/foundation/Json.h"
#include "core/foundation/Uuid.h"

namespace solvara {

// Ties a set of applications, by bundle identifier, to a behaviour the state can react to
// while one of them is in front.
struct ActivityProfile {
    // Raw values are the case names; they are the stored form.
    enum class Behavior { colorAccurate, cinema, coding, reading, normal };

    static constexpr std::array<EnumEntry<Behavior>, 5> behaviorTable{{
        {Behavior::colorAccurate, "colorAccurate"},
        {Behavior::cinema, "cinema"},
        {Behavior::coding, "coding"},
        {Behavior::reading, "reading"},
        {Behavior::normal, "normal"},
    }};

    Uuid id;
    std::string name;
    std::vector<std::string> bundleIdentifiers;  // in the user's order
    Behavior behavior = Behavior::normal;
    bool isBuiltIn = false;

    // Every profile made here gets a fresh random id.
    ActivityProfile(std::string name, std::vector<std::string> bundleIdentifiers, Behavior behavior,
                    bool isBuiltIn);

    // The three built-ins, made once per process: their ids stay put until the next launch.
    static const std::vector<ActivityProfile>& defaults();

    // {"id", "name", "bundleIdentifiers", "behavior", "isBuiltIn"}; decoding needs all five,
    // with a known behaviour, and ignores other keys.
    json::Json toJson() const;
    static std::optional<ActivityProfile> fromJson(const json::Json& value);
};

constexpr std::string_view rawValue(ActivityProfile::Behavior behavior) {
    return rawValueIn(ActivityProfile::behaviorTable, behavior);
}

constexpr std::string_view displayName(ActivityProfile::Behavior behavior) {
    switch (behavior) {
        case ActivityProfile::Behavior::colorAccurate: return "Color Accurate";
        case ActivityProfile::Behavior::cinema: return "Cinema";
        case ActivityProfile::Behavior::coding: return "Coding";
        case ActivityProfile::Behavior::reading: return "Reading";
        case ActivityProfile::Behavior::normal: return "Normal";
    }
    return {};
}

// Exact, case-sensitive match of the whole text; anything else is empty.
template <std::same_as<ActivityProfile::Behavior> E>
constexpr std::optional<E> fromRawValue(std::string_view raw) {
    return fromRawValueIn(ActivityProfile::behaviorTable, raw);
}

// Every case in case order (the order the profile editor offers them in).
template <std::same_as<ActivityProfile::Behavior> E>
constexpr auto allCases() {
    std::array<E, ActivityProfile::behaviorTable.size()> cases{};
    for (std::size_t i = 0; i < cases.size(); ++i) cases[i] = ActivityProfile::behaviorTable[i].value;
    return cases;
}

}  // namespace solvara
