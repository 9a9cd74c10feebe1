#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/foundation/EnumTable.h"
#include "core/solar/TwilightPhase.h"

namespace solvara {

// The ambient loops, synthesised from arithmetic and one seeded random stream: a theme coloured
// by the part of the day. Stateless: every call works on its own buffer, so the player may run
// it on a background thread while another call is in flight.
class SoundscapeGenerator {
public:
    // The part of the day a soundscape belongs to; raw values are the case names.
    enum class SoundscapeGroup { night, dawn, day, dusk };

    // The sound theme; raw values are the names shown to the user and stored in the settings.
    enum class SoundscapeTheme { ocean, rain, forest, creek, wind, night };

    static constexpr std::array<EnumEntry<SoundscapeGroup>, 4> groupTable{{
        {SoundscapeGroup::night, "night"},
        {SoundscapeGroup::dawn, "dawn"},
        {SoundscapeGroup::day, "day"},
        {SoundscapeGroup::dusk, "dusk"},
    }};

    static constexpr std::array<EnumEntry<SoundscapeTheme>, 6> themeTable{{
        {SoundscapeTheme::ocean, "Ocean Waves"},
        {SoundscapeTheme::rain, "Rainfall"},
        {SoundscapeTheme::forest, "Forest"},
        {SoundscapeTheme::creek, "Creek"},
        {SoundscapeTheme::wind, "Wind"},
        {SoundscapeTheme::night, "Night Crickets"},
    }};

    static constexpr std::array<SoundscapeGroup, 4> allGroups{SoundscapeGroup::night, SoundscapeGroup::dawn,
                                                              SoundscapeGroup::day, SoundscapeGroup::dusk};

    static constexpr std::array<SoundscapeTheme, 6> allThemes{SoundscapeTheme::ocean,  SoundscapeTheme::rain,
                                                              SoundscapeTheme::forest, SoundscapeTheme::creek,
                                                              SoundscapeTheme::wind,   SoundscapeTheme::night};

    static constexpr std::string_view rawValue(SoundscapeGroup group) { return rawValueIn(groupTable, group); }
    static constexpr std::string_view rawValue(SoundscapeTheme theme) { return rawValueIn(themeTable, theme); }

    // Exact, case-sensitive match of the whole text; anything else is empty.
    static constexpr std::optional<SoundscapeGroup> groupFromRawValue(std::string_view raw) {
        return fromRawValueIn(groupTable, raw);
    }
    static constexpr std::optional<SoundscapeTheme> themeFromRawValue(std::string_view raw) {
        return fromRawValueIn(themeTable, raw);
    }

    static SoundscapeGroup phaseToGroup(TwilightPhase phase);

    // Int(duration × sampleRate) mono samples, faded in and out over up to one second at each
    // end and normalised to a peak of 0.7. The seed comes from the process-keyed string hash of
    // the theme and group, so a theme and group sound the same throughout one run only.
    // The player asks for 8 s at 44100 Hz. Buffers shorter than an event window (5 s for the
    // crickets) place those events from the first sample. Non-finite or negative sizes give an
    // empty buffer and a log line.
    static std::vector<float> generateBuffer(SoundscapeTheme theme, SoundscapeGroup group, double duration,
                                             double sampleRate);

    // A complete RIFF/WAVE file: 44-byte header, then 16-bit signed PCM mono, scaled by 32767
    // and truncated. Empty (with a log line) when the rate or length does not fit the header.
    static std::vector<std::uint8_t> wavData(std::span<const float> samples, std::int64_t sampleRate);
};

}  // namespace solvara
