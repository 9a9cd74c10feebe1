#pragma once

namespace solvara {

// A place on Earth in degrees, north and east positive.
struct Coordinate {
    double latitude = 0.0;
    double longitude = 0.0;

    constexpr bool operator==(const Coordinate&) const = default;
};

}  // namespace solvara
