#include "core/color/TransitionCurve.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace solvara {
namespace {

constexpr auto int64Max = std::numeric_limits<std::int64_t>::max();
constexpr auto int64Min = std::numeric_limits<std::int64_t>::min();

TEST(TransitionCurve, DurationGrowsWithTheSizeOfTheChange) {
    const struct {
        std::int64_t delta;
        double seconds;
    } cases[] = {
        {0, 900.0},      {-499, 900.0},   {499, 900.0},    {500, 1200.0},     {-500, 1200.0},
        {1499, 1200.0},  {1500, 1800.0},  {2999, 1800.0},  {-3000, 2700.0},   {3000, 2700.0},
        {int64Max, 2700.0}, {int64Min, 2700.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TransitionCurve::duration(c.delta), c.seconds) << c.delta;
    }
}

TEST(TransitionCurve, EaseInOutIsAClampedSmoothstep) {
    EXPECT_EQ(TransitionCurve::easeInOut(0.0), 0.0);
    EXPECT_EQ(TransitionCurve::easeInOut(0.5), 0.5);
    EXPECT_EQ(TransitionCurve::easeInOut(1.0), 1.0);
    EXPECT_NEAR(TransitionCurve::easeInOut(0.25), 0.15625, 1e-12);
    EXPECT_EQ(TransitionCurve::easeInOut(-3.0), 0.0);
    EXPECT_EQ(TransitionCurve::easeInOut(4.0), 1.0);
    EXPECT_EQ(TransitionCurve::easeInOut(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

TEST(TransitionCurve, InterpolateTruncatesAndSaturates) {
    const struct {
        std::int64_t from;
        std::int64_t to;
        double progress;
        std::int64_t expected;
    } cases[] = {
        {6500, 1800, 0.5, 4150},
        {1800, 6500, 2.0, 6500},
        {1800, 6500, -1.0, 1800},
        {1800, 6500, 0.25, 2534},  // 1800 + 0.15625 × 4700 = 2534.375
        {6500, 1800, 0.25, 5765},  // 6500 − 734.375 = 5765.625, toward zero
        {-100, -200, 0.25, -115},  // −115.625, toward zero
        // Differences and results beyond the integer range saturate instead of wrapping.
        {int64Min, int64Max, 1.0, int64Max},
        {int64Max, int64Min, 1.0, int64Min},
        {int64Min, int64Max, 0.0, int64Min},
        {0, int64Max, 1.0, int64Max},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TransitionCurve::interpolate(c.from, c.to, c.progress), c.expected)
            << c.from << " -> " << c.to << " at " << c.progress;
    }
    EXPECT_NEAR(static_cast<double>(TransitionCurve::interpolate(int64Min, int64Max, 0.5)), 0.0, 2048.0);
}

}  // namespace
}  // namespace solvara
