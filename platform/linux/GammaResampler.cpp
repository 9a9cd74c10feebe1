#include "platform/linux/GammaResampler.h"

#include <cmath>
#include <cstddef>

namespace solvara {

namespace {

// Reads ramp[position] with linear interpolation, position = i * (m - 1) / (n - 1) kept as an
// exact fraction so that a table of the ramp's own length reproduces it bit for bit.
template <typename Entry, typename Convert>
void interpolate(std::span<const Entry> ramp, std::span<std::uint16_t> table, Convert convert) {
    const std::size_t n = table.size();
    const std::size_t m = ramp.size();
    if (n == 0) return;
    if (m == 1) {
        for (auto& entry : table) entry = convert(static_cast<double>(ramp[0]));
        return;
    }
    if (n == 1) {
        // A one-entry table can only hold the full-input level.
        table[0] = convert(static_cast<double>(ramp[m - 1]));
        return;
    }
    const std::size_t denominator = n - 1;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t numerator = i * (m - 1);
        const std::size_t index = numerator / denominator;
        const std::size_t remainder = numerator % denominator;
        double value = static_cast<double>(ramp[index]);
        if (remainder != 0) {
            const double fraction = static_cast<double>(remainder) / static_cast<double>(denominator);
            const double next = static_cast<double>(ramp[index + 1]);
            value = value + (next - value) * fraction;
        }
        table[i] = convert(value);
    }
}

}  // namespace

std::uint16_t GammaResampler::level(double value) {
    if (!(value > 0.0)) return 0;  // NaN included
    if (value >= 1.0) return 65535;
    return static_cast<std::uint16_t>(std::lround(value * 65535.0));
}

void GammaResampler::resample(std::span<const float> ramp, std::span<std::uint16_t> table) {
    if (ramp.empty()) {
        identity(table);
        return;
    }
    interpolate(ramp, table, [](double value) { return level(value); });
}

void GammaResampler::resample(std::span<const std::uint16_t> source, std::span<std::uint16_t> table) {
    if (source.empty()) {
        identity(table);
        return;
    }
    interpolate(source, table, [](double value) {
        return static_cast<std::uint16_t>(std::lround(std::fmin(std::fmax(value, 0.0), 65535.0)));
    });
}

void GammaResampler::evaluateFormula(double minimum, double maximum, double gamma,
                                     std::span<std::uint16_t> table) {
    const std::size_t n = table.size();
    if (n == 0) return;
    if (n == 1) {
        table[0] = level(maximum);
        return;
    }
    const double span = maximum - minimum;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(n - 1);
        const double shaped = gamma == 1.0 ? x : std::pow(x, gamma);
        table[i] = level(minimum + span * shaped);
    }
}

void GammaResampler::identity(std::span<std::uint16_t> table) {
    const std::size_t n = table.size();
    if (n == 1) table[0] = 65535;
    if (n < 2) return;
    for (std::size_t i = 0; i < n; ++i) {
        table[i] = static_cast<std::uint16_t>((i * 65535 + (n - 1) / 2) / (n - 1));
    }
}

}  // namespace solvara
