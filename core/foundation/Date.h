#pragma once

#include <compare>

namespace solvara {

// An instant as seconds since 2001-01-01 00:00:00 UTC, the form every stored document and
// JSON file uses.
struct Date {
    static constexpr double unixEpochOffset = 978307200.0;  // 1970 -> 2001

    double secondsSinceReferenceDate = 0.0;

    constexpr Date() = default;
    constexpr explicit Date(double seconds) : secondsSinceReferenceDate(seconds) {}

    static constexpr Date fromUnixTime(double unixSeconds) { return Date(unixSeconds - unixEpochOffset); }
    constexpr double unixTime() const { return secondsSinceReferenceDate + unixEpochOffset; }

    constexpr Date operator+(double seconds) const { return Date(secondsSinceReferenceDate + seconds); }
    constexpr Date operator-(double seconds) const { return Date(secondsSinceReferenceDate - seconds); }
    constexpr double operator-(Date other) const { return secondsSinceReferenceDate - other.secondsSinceReferenceDate; }
    Date& operator+=(double seconds) {
        secondsSinceReferenceDate += seconds;
        return *this;
    }

    constexpr auto operator<=>(const Date&) const = default;
};

}  // namespace solvara
