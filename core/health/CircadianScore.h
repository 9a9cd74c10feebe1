#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/foundation/Date.h"
#include "core/foundation/EnumTable.h"

namespace solvara {

// A daily mark out of 100 from three capped components (light exposure up to 40, breaks up to
// 30, protocol up to 30), with a school-style letter grade.
class CircadianScore {
public:
    class Grade {
    public:
        enum Value : std::uint8_t { excellent, good, fair, poor, failing };

        // Implicit both ways, so that a case stands for the type and switch and == work on it.
        constexpr Grade(Value value) : value_(value) {}
        constexpr operator Value() const { return value_; }

        // 90-100 A, 75-89 B, 60-74 C, 40-59 D; anything else, above 100 included, F.
        static constexpr Grade from(std::int64_t score);

        constexpr std::string_view rawValue() const { return rawValueIn(table, value_); }
        static constexpr std::optional<Grade> fromRawValue(std::string_view raw);

    private:
        static constexpr std::array<EnumEntry<Value>, 5> table{{
            {excellent, "A"},
            {good, "B"},
            {fair, "C"},
            {poor, "D"},
            {failing, "F"},
        }};

        Value value_;
    };

    struct DailyScore {
        Date date;
        std::int64_t totalScore = 0;     // 0 to 100
        std::int64_t exposureScore = 0;  // 0 to 40
        std::int64_t breakScore = 0;     // 0 to 30
        std::int64_t protocolScore = 0;  // 0 to 30
        Grade grade = Grade::failing;
    };

    // Clamps each component into its range before adding them up.
    static DailyScore calculate(std::int64_t exposureScore, std::int64_t breakScore, std::int64_t protocolScore,
                                Date date);
};

constexpr CircadianScore::Grade CircadianScore::Grade::from(std::int64_t score) {
    if (score > 100) return failing;
    if (score >= 90) return excellent;
    if (score >= 75) return good;
    if (score >= 60) return fair;
    if (score >= 40) return poor;
    return failing;
}

constexpr std::optional<CircadianScore::Grade> CircadianScore::Grade::fromRawValue(std::string_view raw) {
    if (auto value = fromRawValueIn(table, raw)) return Grade(*value);
    return std::nullopt;
}

}  // namespace solvara
