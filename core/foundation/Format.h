#pragma once

#include <cstdint>
#include <string>

namespace solvara::format {

// Locale-independent number texts: a German session must still read "2.35", and rounding
// matches C's printf ("%.1f").
std::string fixed(double value, int decimals);
std::string integer(std::int64_t value);
// The fewest digits that read back as exactly `value` (scientific notation where shorter).
std::string shortest(double value);

}  // namespace solvara::format
