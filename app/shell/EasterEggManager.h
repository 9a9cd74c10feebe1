#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/foundation/EnumTable.h"

namespace solvara {

// Declared for a typed-word surprise that nothing triggers yet: no instance is ever created.
class EasterEggManager {
public:
    enum class EasterEgg { sunset, disco, matrix };

    static constexpr std::array<EnumEntry<EasterEgg>, 3> easterEggTable{{
        {EasterEgg::sunset, "sunset"},
        {EasterEgg::disco, "disco"},
        {EasterEgg::matrix, "matrix"},
    }};

    static constexpr std::string_view rawValue(EasterEgg egg) { return rawValueIn(easterEggTable, egg); }
    // Exact, case-sensitive: "Disco" is none.
    static constexpr std::optional<EasterEgg> easterEggFromRawValue(std::string_view raw) {
        return fromRawValueIn(easterEggTable, raw);
    }

    std::string buffer;
    int maxBufferLength = 0;
    std::function<void(EasterEgg)> onEasterEgg;
    std::map<std::string, EasterEgg> triggers;
};

}  // namespace solvara
