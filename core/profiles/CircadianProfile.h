#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/foundation/EnumTable.h"
#include "core/foundation/Json.h"
#include "core/foundation/Uuid.h"

namespace solvara {

// A named wake/sleep schedule with the colour-temperature limits that go with it.
struct CircadianProfile {
    enum class TransitionSpeed { slow, normal, fast };

    static constexpr std::array<EnumEntry<TransitionSpeed>, 3> transitionSpeedTable{{
        {TransitionSpeed::slow, "slow"},
        {TransitionSpeed::normal, "normal"},
        {TransitionSpeed::fast, "fast"},
    }};

    Uuid id;
    std::string name;
    std::int64_t wakeHour = 0;
    std::int64_t wakeMinute = 0;
    std::int64_t sleepHour = 0;
    std::int64_t sleepMinute = 0;
    bool morningBoostEnabled = true;
    std::int64_t minimumKelvin = 1800;
    std::int64_t maximumKelvin = 6500;
    TransitionSpeed transitionSpeed = TransitionSpeed::normal;

    // A fresh random id, the given schedule and the defaults above.
    CircadianProfile(std::string name, std::int64_t wakeHour, std::int64_t wakeMinute, std::int64_t sleepHour,
                     std::int64_t sleepMinute);

    // One object with all ten fields; decoding needs every one of them.
    json::Json toJson() const;
    static std::optional<CircadianProfile> fromJson(const json::Json& value);
};

constexpr std::string_view rawValue(CircadianProfile::TransitionSpeed speed) {
    return rawValueIn(CircadianProfile::transitionSpeedTable, speed);
}

// Exact, case-sensitive match of the whole text; anything else is empty.
template <std::same_as<CircadianProfile::TransitionSpeed> E>
constexpr std::optional<E> fromRawValue(std::string_view raw) {
    return fromRawValueIn(CircadianProfile::transitionSpeedTable, raw);
}

}  // namespace solvara
