#include "core/color/PhaseResponseCurve.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace solvara {
namespace {

TEST(PhaseResponseCurve, DelaysBeforeTheMinimumAndAdvancesAfter) {
    const struct {
        double hours;
        double shift;
    } cases[] = {
        {-9.0, 0.0}, {-8.0, 0.0}, {-4.0, 1.5}, {-2.0, 1.0606601718}, {0.0, 0.0},
        {2.0, -1.7677669530}, {4.0, -2.5}, {8.0, 0.0}, {30.0, 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(PhaseResponseCurve::phaseShift(c.hours), c.shift, 1e-9) << c.hours;
    }
    EXPECT_EQ(PhaseResponseCurve::phaseShift(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

TEST(PhaseResponseCurve, MorningWindowWrapsOverMidnight) {
    constexpr auto maxHour = std::numeric_limits<std::int64_t>::max();
    constexpr auto minHour = std::numeric_limits<std::int64_t>::min();
    const struct {
        std::int64_t current;
        std::int64_t wake;
        bool beneficial;
    } cases[] = {
        {4, 7, false}, {5, 7, true}, {7, 7, true}, {11, 7, true}, {12, 7, false},
        {22, 1, false}, {23, 1, true}, {0, 1, true}, {5, 1, true}, {6, 1, false},
        {22, 0, true}, {4, 0, true}, {5, 0, false},
        // Hours that overflow the arithmetic are never in the window.
        {5, maxHour, false}, {maxHour, 7, false}, {minHour, 7, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PhaseResponseCurve::isBeneficialMorningLight(c.current, c.wake), c.beneficial)
            << "current " << c.current << " wake " << c.wake;
    }
}

}  // namespace
}  // namespace solvara
