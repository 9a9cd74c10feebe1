#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace solvara {

// A sine about twice as fast as libm's, with a known bound on its distance from std::sin.
// The sound is defined by std::sin; this only finds, most of the time, the float std::sin
// would have given, which is why the synthesis may use it without changing a sample:
// - with s = approximate(x), std::sin(x) lies in [s - errorBound, s + errorBound];
// - a sample is a chain of correctly rounded additions and multiplications that grows with
//   each of its sines (every sine has a weight >= 0), or, for a product of two sines, takes
//   its extremes at the corners of their intervals; rounding never reverses an order, so the
//   float std::sin would give lies between the floats computed from the ends (the corners);
// - when those are one and the same non-zero float, the sample is that float. Otherwise (a
//   few samples per buffer) it is computed again with std::sin. Zero is left to std::sin
//   because +0 and -0 compare equal but are different samples.
class FastSine {
public:
    // Covers |approximate(x) - sin(x)| (under a fiftieth of this over the arguments used; the
    // tests sweep it), libm's error of at most one ulp (about 1e-16 here) and the rounding of
    // an interval's ends.
    static constexpr double errorBound = 1e-13;

    // Up to here the reduction below is exact enough; beyond, approximate() is std::sin itself,
    // so the interval above holds trivially.
    static constexpr double maxArgument = 0x1p18;

    // sin(x) = sin(n pi/128) cos(r) + cos(n pi/128) sin(r), with n the nearest whole number of
    // steps of pi/128 and |r| <= pi/256, where short Taylor series suffice.
    static double approximate(double x) {
        if (!(std::fabs(x) <= maxArgument)) return std::sin(x);

        // n rounded to nearest through the 1.5 * 2^52 trick (no libm call); its low bits index
        // the table, also for negative n.
        constexpr double stepsPerRadian = 40.74366543152521;  // 128 / pi
        constexpr double shifter = 0x1.8p52;
        const double shifted = x * stepsPerRadian + shifter;
        const auto index = static_cast<std::size_t>(std::bit_cast<std::uint64_t>(shifted) & 255U);
        const double n = shifted - shifter;

        // pi/128 in three parts (29 + 29 + 53 bits): n * stepPart1 and n * stepPart2 are exact
        // for |n| < 2^24, and x - n * stepPart1 cancels exactly.
        constexpr double stepPart1 = 0x1.921fb54p-6;
        constexpr double stepPart2 = 0x1.10b4612p-36;
        constexpr double stepPart3 = -0x1.676733ae8fe48p-66;
        const double r = ((x - n * stepPart1) - n * stepPart2) - n * stepPart3;
        const double r2 = r * r;

        // Next terms: r^7 / 7! < 1e-17 and r^8 / 8! < 1e-19.
        const double sinR = r + r * r2 * (-1.0 / 6.0 + r2 * (1.0 / 120.0));
        const double cosR = 1.0 + r2 * (-0.5 + r2 * (1.0 / 24.0 + r2 * (-1.0 / 720.0)));
        const Step& step = steps[index];
        return step.sine * cosR + step.cosine * sinR;
    }

private:
    struct Step {
        double sine;
        double cosine;
    };

    // sin(a) for 0 <= a <= pi/2 by its Taylor series, at compile time.
    static constexpr double taylorSine(double a) {
        double term = a;
        double sum = a;
        for (int k = 1; k < 20; ++k) {
            term = -term * a * a / ((2.0 * k) * (2.0 * k + 1.0));
            sum += term;
        }
        return sum;
    }

    // sin(k pi/128) from the first quadrant by symmetry.
    static constexpr double stepSine(int k) {
        constexpr double pi = 3.141592653589793;
        const int quarter = (k / 64) % 4;
        const int within = k % 64;
        const double sine = taylorSine(within * (pi / 128.0));
        const double cosine = taylorSine((64 - within) * (pi / 128.0));
        switch (quarter) {
            case 0:
                return sine;
            case 1:
                return cosine;
            case 2:
                return -sine;
            default:
                return -cosine;
        }
    }

    static constexpr std::array<Step, 256> makeSteps() {
        std::array<Step, 256> table{};
        for (int k = 0; k < 256; ++k) table[static_cast<std::size_t>(k)] = {stepSine(k), stepSine(k + 64)};
        return table;
    }

    static const std::array<Step, 256> steps;
};

inline constexpr std::array<FastSine::Step, 256> FastSine::steps = FastSine::makeSteps();

}  // namespace solvara
