#include "core/audio/FastSine.h"

#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>

namespace solvara {
namespace {

// The synthesis trusts |approximate(x) - std::sin(x)| to stay far inside errorBound; a sweep
// over the argument ranges it uses (up to 2 pi * 5500 Hz * 5 s for a cricket's tone), dense
// around the table's steps where the reduction cancels most, shows a margin of 50 and more.
TEST(FastSineTest, StaysFarInsideItsBound) {
    const double margin = FastSine::errorBound / 50.0;
    std::mt19937_64 random(7);
    double worst = 0.0;
    for (const double range : {1.0, 10.0, 1000.0, 2e5, FastSine::maxArgument}) {
        std::uniform_real_distribution<double> argument(-range, range);
        for (int n = 0; n < 40000; ++n) {
            const double x = argument(random);
            worst = std::max(worst, std::fabs(FastSine::approximate(x) - std::sin(x)));
        }
    }
    for (double step = 1.0; step < 1e7; step *= 1.37) {
        double x = std::round(step) * (3.141592653589793 / 128.0);
        for (int ulp = 0; ulp < 4 && x <= FastSine::maxArgument; ++ulp) {
            worst = std::max(worst, std::fabs(FastSine::approximate(x) - std::sin(x)));
            worst = std::max(worst, std::fabs(FastSine::approximate(-x) - std::sin(-x)));
            x = std::nextafter(x, 0.0);
        }
    }
    EXPECT_LT(worst, margin);

    for (const double x : {FastSine::maxArgument * 2.0, -1e9, 1e300}) EXPECT_EQ(FastSine::approximate(x), std::sin(x));
    EXPECT_TRUE(std::isnan(FastSine::approximate(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(FastSine::approximate(std::numeric_limits<double>::quiet_NaN())));
}

}  // namespace
}  // namespace solvara
