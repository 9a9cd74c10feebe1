#pragma once

#include <cstdint>
#include <span>

namespace solvara {

// Turns the program's ramps (floating-point levels 0...1, usually 256 per channel) into the
// 16-bit tables a CRTC takes, whose length is the CRTC's own (256, 1024, 4096...). Levels are
// clamped to 0...1, NaN counts as 0, and each entry is rounded to the nearest 16-bit step.
class GammaResampler {
public:
    // Linear interpolation over the ramp, its first and last entries landing on the table's
    // ends; a ramp as long as the table is copied entry for entry. An empty ramp gives the
    // identity table.
    static void resample(std::span<const float> ramp, std::span<std::uint16_t> table);

    // minimum + (maximum - minimum) * x^gamma for x = i / (n - 1): a transfer formula
    // evaluated at the table's own resolution.
    static void evaluateFormula(double minimum, double maximum, double gamma, std::span<std::uint16_t> table);

    // Entry i = i / (n - 1) of full scale.
    static void identity(std::span<std::uint16_t> table);

    // Resamples one 16-bit table onto another length (tables saved from a CRTC whose gamma
    // size changed since).
    static void resample(std::span<const std::uint16_t> source, std::span<std::uint16_t> table);

    static std::uint16_t level(double value);
};

}  // namespace solvara
