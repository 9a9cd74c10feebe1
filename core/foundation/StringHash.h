#pragma once

#include <cstdint>
#include <string_view>

namespace solvara {

// A string hash keyed randomly once per process (SipHash-1-3): stable within a run, different
// from one run to the next.
class StringHash {
public:
    static std::uint64_t hash(std::string_view text);

    static void setKeyForTesting(std::uint64_t k0, std::uint64_t k1);
};

}  // namespace solvara
