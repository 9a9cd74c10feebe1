#pragma once

// The state's choice enumerations, in a header that includes nothing of AppState itself.
// The screen effect, the output method and the per-display record belong to the display layer
// beneath the state (app/display) and are listed here among the state's own choices. AppState
// re-exports every name here as a nested alias (AppState::DisplayMode, AppState::ScreenEffect, ...).

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "app/display/DisplayTypes.h"
#include "app/display/PerDisplaySettings.h"
#include "core/foundation/EnumTable.h"

namespace solvara {

// Each raw value is at once the text shown for the choice and its stored and exported form.

enum class DisplayMode {
    auto_,  // "Auto" (`auto` is a C++ keyword)
    movie,
    reading,
    presentation,
    coding,
    gaming,
    biohacker,
    sunglasses,
    dark,
    custom,
    disabled,
};

enum class BreakSound { none, chime, bell, bowl, nature };

enum class BreakScreenType { simpleText, exercisePrompts, natureImage, breathingAnimation };

enum class CursorStyle { defaultCursor, highContrast, large, invertedColor };

enum class LocationSource { automatic, manual };

// The table of raw values for one enumeration, in case order (the order pickers list them in).
template <class E>
struct StateEnumTraits;

template <>
struct StateEnumTraits<DisplayMode> {
    static constexpr std::array<EnumEntry<DisplayMode>, 11> table{{
        {DisplayMode::auto_, "Auto"},
        {DisplayMode::movie, "Movie"},
        {DisplayMode::reading, "Reading"},
        {DisplayMode::presentation, "Presentation"},
        {DisplayMode::coding, "Coding"},
        {DisplayMode::gaming, "Gaming"},
        {DisplayMode::biohacker, "Biohacker"},
        {DisplayMode::sunglasses, "Sunglasses"},
        {DisplayMode::dark, "Dark"},
        {DisplayMode::custom, "Custom"},
        {DisplayMode::disabled, "Disabled"},
    }};
};

template <>
struct StateEnumTraits<ScreenEffect> {
    static constexpr const auto& table = screenEffectRawValues;
};

template <>
struct StateEnumTraits<GammaAPI> {
    static constexpr const auto& table = gammaAPIRawValues;
};

template <>
struct StateEnumTraits<BreakSound> {
    static constexpr std::array<EnumEntry<BreakSound>, 5> table{{
        {BreakSound::none, "None"},
        {BreakSound::chime, "Chime"},
        {BreakSound::bell, "Bell"},
        {BreakSound::bowl, "Singing Bowl"},
        {BreakSound::nature, "Nature"},
    }};
};

template <>
struct StateEnumTraits<BreakScreenType> {
    static constexpr std::array<EnumEntry<BreakScreenType>, 4> table{{
        {BreakScreenType::simpleText, "Simple Text"},
        {BreakScreenType::exercisePrompts, "Exercise Prompts"},
        {BreakScreenType::natureImage, "Nature Image"},
        {BreakScreenType::breathingAnimation, "Breathing Animation"},
    }};
};

template <>
struct StateEnumTraits<CursorStyle> {
    static constexpr std::array<EnumEntry<CursorStyle>, 4> table{{
        {CursorStyle::defaultCursor, "Default"},
        {CursorStyle::highContrast, "High Contrast"},
        {CursorStyle::large, "Large"},
        {CursorStyle::invertedColor, "Inverted Color"},
    }};
};

template <>
struct StateEnumTraits<LocationSource> {
    static constexpr std::array<EnumEntry<LocationSource>, 2> table{{
        {LocationSource::automatic, "Automatic"},
        {LocationSource::manual, "Manual"},
    }};
};

template <class E>
concept StateEnum = requires { StateEnumTraits<E>::table; };

template <StateEnum E>
constexpr std::string_view rawValue(E value) {
    return rawValueIn(StateEnumTraits<E>::table, value);
}

// Exact, case-sensitive match of the whole text; anything else is empty.
template <StateEnum E>
constexpr std::optional<E> fromRawValue(std::string_view raw) {
    return fromRawValueIn(StateEnumTraits<E>::table, raw);
}

// Every case in case order.
template <StateEnum E>
constexpr auto allCases() {
    constexpr auto& table = StateEnumTraits<E>::table;
    std::array<E, table.size()> cases{};
    for (std::size_t i = 0; i < table.size(); ++i) cases[i] = table[i].value;
    return cases;
}

// The choices that travel as a single JSON string (their raw value). The display mode and the
// location source are written and read as plain strings by their owners instead.
template <class E>
concept JsonCodedStateEnum = StateEnum<E> && (std::same_as<E, ScreenEffect> || std::same_as<E, GammaAPI> ||
                                              std::same_as<E, BreakSound> || std::same_as<E, BreakScreenType> ||
                                              std::same_as<E, CursorStyle>);

template <JsonCodedStateEnum E>
nlohmann::json encodeChoice(E value) {
    return std::string(rawValue(value));
}

// Empty for anything but a string that is exactly one of the raw values.
template <JsonCodedStateEnum E>
std::optional<E> decodeChoice(const nlohmann::json& value) {
    if (!value.is_string()) return std::nullopt;
    return fromRawValue<E>(value.get_ref<const std::string&>());
}

// The fixed colour temperature of a display mode; empty for the modes that leave the
// temperature to the sun (Auto, Biohacker), to the user (Custom) or switch filtering off.
constexpr std::optional<std::int64_t> kelvin(DisplayMode mode) {
    switch (mode) {
        case DisplayMode::movie: return 4200;
        case DisplayMode::reading: return 3800;
        case DisplayMode::presentation: return 6500;
        case DisplayMode::coding: return 4500;
        case DisplayMode::gaming: return 6500;
        case DisplayMode::sunglasses: return 2200;
        case DisplayMode::dark: return 1800;
        case DisplayMode::auto_:
        case DisplayMode::biohacker:
        case DisplayMode::custom:
        case DisplayMode::disabled: return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace solvara
