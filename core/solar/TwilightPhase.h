#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

namespace solvara {

// The eleven parts of the day, from deep night to night, named by the sun's elevation and its
// direction of travel. Used like an enumeration: `TwilightPhase::goldenHour`, switch, ==.
class TwilightPhase {
public:
    enum Value : unsigned char {
        astronomicalNight,
        astronomicalTwilight,
        nauticalTwilight,
        civilTwilight,
        goldenHour,
        morningRise,
        solarNoon,
        afternoonDecline,
        eveningGoldenHour,
        eveningTwilight,
        night,
    };

    static const std::array<TwilightPhase, 11> allCases;

    constexpr TwilightPhase(Value value) : value_(value) {}  // NOLINT(google-explicit-constructor)
    constexpr operator Value() const { return value_; }      // NOLINT(google-explicit-constructor)

    // Each bound belongs to the band above it; a descending sun between -18 and -6 degrees is
    // already `night`, and an elevation that is not a number counts as midday.
    static TwilightPhase from(double elevation, bool isAscending);

    // The case name, spelled exactly; also the stored form.
    std::string_view rawValue() const;
    static std::optional<TwilightPhase> fromRawValue(std::string_view raw);

    std::string_view displayName() const;

private:
    Value value_;
};

}  // namespace solvara

template <>
struct std::hash<solvara::TwilightPhase> {
    std::size_t operator()(solvara::TwilightPhase phase) const noexcept {
        return std::hash<unsigned char>{}(
            static_cast<unsigned char>(static_cast<solvara::TwilightPhase::Value>(phase)));
    }
};
