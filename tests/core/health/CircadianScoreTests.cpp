#include "core/health/CircadianScore.h"

#include <limits>

#include <gtest/gtest.h>

namespace solvara {
namespace {

using Grade = CircadianScore::Grade;

TEST(CircadianScore, GradeBands) {
    const std::pair<std::int64_t, const char*> bands[] = {
        {100, "A"},
        {90, "A"},
        {89, "B"},
        {75, "B"},
        {74, "C"},
        {60, "C"},
        {59, "D"},
        {40, "D"},
        {39, "F"},
        {0, "F"},
        {-1, "F"},
        {101, "F"},
        {std::numeric_limits<std::int64_t>::min(), "F"},
    };
    for (const auto& [score, letter] : bands) {
        EXPECT_EQ(Grade::from(score).rawValue(), letter) << score;
    }
    for (const char* letter : {"A", "B", "C", "D", "F"}) {
        ASSERT_TRUE(Grade::fromRawValue(letter));
        EXPECT_EQ(Grade::fromRawValue(letter)->rawValue(), letter);
    }
    for (const char* other : {"a", "E", "f", "", "AA"}) EXPECT_FALSE(Grade::fromRawValue(other)) << other;
}

TEST(CircadianScore, ComponentsAreClampedBeforeTheTotal) {
    struct Case {
        std::int64_t exposure, breaks, protocol;
        std::int64_t expectedExposure, expectedBreaks, expectedProtocol, total;
        Grade grade;
    };
    const Case cases[] = {
        {50, 35, -5, 40, 30, 0, 70, Grade::fair},     {40, 30, 30, 40, 30, 30, 100, Grade::excellent},
        {0, 0, 0, 0, 0, 0, 0, Grade::failing},        {30, 25, 20, 30, 25, 20, 75, Grade::good},
        {-100, 1000, 10, 0, 30, 10, 40, Grade::poor},
    };
    const Date date(123456.0);
    for (const auto& c : cases) {
        const auto score = CircadianScore::calculate(c.exposure, c.breaks, c.protocol, date);
        EXPECT_EQ(score.exposureScore, c.expectedExposure);
        EXPECT_EQ(score.breakScore, c.expectedBreaks);
        EXPECT_EQ(score.protocolScore, c.expectedProtocol);
        EXPECT_EQ(score.totalScore, c.total);
        EXPECT_EQ(score.grade, c.grade);
        EXPECT_EQ(score.date, date);
    }
}

}  // namespace
}  // namespace solvara
