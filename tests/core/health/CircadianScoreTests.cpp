#include "core/health/CircadianScore.h"

#include <limits>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace solvara {
namespace {

using Grade = CircadianScore::Grade;

TEST(CircadianScore, GradeBands) {
    const std::pair<std::int64_t, const char*> bands[] = {
        {100, "A"}, {90, "A"}, {89, "B"}, {75, "B"}, {74, "C"}, {60, "C"},
        {59, "D"},  {40, "D"}, {39, "F"}, {0, "F"},  {-1, "F"}, {101, "F"},
    };
    for (const auto& [score, letter] : bands) {
        EXPECT_EQ(Grade::from(score).rawValue(), letter) << score;
        EXPECT_EQ(Grade::fromRawValue(letter), Grade::from(score));
    }
    EXPECT_FALSE(Grade::fromRawValue("a"));
}

TEST(CircadianScore, ComponentsAreClampedBeforeTheTotal) {
    const auto big = std::numeric_limits<std::int64_t>::max();
    const struct {
        std::int64_t exposure, breaks, protocol;
        std::int64_t clampedExposure, clampedBreaks, clampedProtocol, total;
        Grade grade;
    } cases[] = {
        {50, 35, -5, 40, 30, 0, 70, Grade::fair},
        {40, 30, 30, 40, 30, 30, 100, Grade::excellent},
        {-100, 1000, 10, 0, 30, 10, 40, Grade::poor},
        {big, -big, 31, 40, 0, 30, 70, Grade::fair},
    };
    for (const auto& c : cases) {
        const auto score = CircadianScore::calculate(c.exposure, c.breaks, c.protocol, Date(0.0));
        EXPECT_EQ(score.exposureScore, c.clampedExposure);
        EXPECT_EQ(score.breakScore, c.clampedBreaks);
        EXPECT_EQ(score.protocolScore, c.clampedProtocol);
        EXPECT_EQ(score.totalScore, c.total);
        EXPECT_EQ(score.grade, c.grade);
    }
}

}  // namespace
}  // namespace solvara
