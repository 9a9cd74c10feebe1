#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/foundation/EnumTable.h"

namespace solvara {

// The light debt: points of melanopic light the screens gave after the biological evening
// began (one point is one lux of excess melanopic EDI held for one hour). It rises while the
// evening light exceeds a target, falls by day, after a night's sleep and with morning
// sunlight. It reads the clock only for the local day key ("yyyy-MM-dd") of its last change.
// Main thread only.
class LightDebtCalculator {
public:
    class DebtLevel {
    public:
        enum Value : std::uint8_t { low, medium, high, critical };

        // Implicit both ways, so that a case stands for the type and switch and == work on it.
        constexpr DebtLevel(Value value) : value_(value) {}
        constexpr operator Value() const { return value_; }

        // Below 10 low, below 30 medium, below 50 high, anything else (NaN too) critical.
        static constexpr DebtLevel fromPoints(double points);
        std::string_view recommendation() const;

        constexpr std::string_view rawValue() const { return rawValueIn(table, value_); }
        static constexpr std::optional<DebtLevel> fromRawValue(std::string_view raw);

    private:
        static constexpr std::array<EnumEntry<Value>, 4> table{{
            {low, "low"},
            {medium, "medium"},
            {high, "high"},
            {critical, "critical"},
        }};

        Value value_;
    };

    LightDebtCalculator() = default;

    // Adds (actual − target) × hours when the actual EDI is above the target, stamping today;
    // otherwise (NaN included) changes nothing at all.
    void accumulate(double actualEDI, double targetEDI, double durationHours);
    // On the first call of a new day a night's recovery scaled by the hours slept, then
    // 2 points per hour, never below 0. A calculator never stamped has no "new day".
    void applyDaytimeDecay(double durationHours, double sleepHours);
    // 10 points per hour of morning sunlight plus 5 per unit of bonus, never below 0; the day
    // key is left alone.
    void recover(double morningSunlightMinutes, double protocolAdherenceBonus);

    DebtLevel currentLevel() const { return DebtLevel::fromPoints(debtPoints_); }

    // Points as stored (no clamp); an empty date stands for today.
    void restoreDebt(double points, const std::string& date);
    void reset();

    double debtPoints() const { return debtPoints_; }
    const std::string& lastDebtDate() const { return lastDebtDate_; }

private:
    double debtPoints_ = 0.0;
    std::string lastDebtDate_;
};

constexpr LightDebtCalculator::DebtLevel LightDebtCalculator::DebtLevel::fromPoints(double points) {
    if (points < 10.0) return low;
    if (points < 30.0) return medium;
    if (points < 50.0) return high;
    return critical;
}

constexpr std::optional<LightDebtCalculator::DebtLevel> LightDebtCalculator::DebtLevel::fromRawValue(
    std::string_view raw) {
    if (auto value = fromRawValueIn(table, raw)) return DebtLevel(*value);
    return std::nullopt;
}

}  // namespace solvara
