#include "platform/linux/AlertSounds.h"

#include <cmath>
#include <numbers>

#include "platform/linux/WavPcm.h"

namespace solvara {
namespace {

struct Partial {
    double frequency;  // Hz
    double gain;
    double decay;      // seconds to fall to 1/e
    double start = 0;  // seconds
};

std::vector<float> render(double seconds, std::initializer_list<Partial> partials) {
    const auto count = static_cast<std::size_t>(seconds * AlertSounds::sampleRate);
    std::vector<float> samples(count, 0.0f);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / AlertSounds::sampleRate;
        double value = 0;
        for (const Partial& p : partials) {
            if (t < p.start) continue;
            const double local = t - p.start;
            const double attack = std::min(1.0, local / 0.004);  // 4 ms: no click at the onset
            value += p.gain * attack * std::exp(-local / p.decay) * std::sin(2 * std::numbers::pi * p.frequency * local);
        }
        samples[i] = static_cast<float>(value);
    }
    return samples;
}

// Soft noise that swells and fades, low-passed by a one-pole filter.
std::vector<float> breeze() {
    const auto count = static_cast<std::size_t>(1.2 * AlertSounds::sampleRate);
    std::vector<float> samples(count);
    std::uint32_t state = 0x12345678u;
    double filtered = 0;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        const double white = static_cast<double>(state >> 8) / 8388608.0 - 1.0;
        filtered += 0.05 * (white - filtered);
        const double t = static_cast<double>(i) / static_cast<double>(count);
        samples[i] = static_cast<float>(1.6 * filtered * std::sin(std::numbers::pi * t));
    }
    return samples;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> AlertSounds::wavData(std::string_view name) {
    std::vector<float> samples;
    if (name == "Tink") {
        samples = render(0.25, {{2637, 0.5, 0.04}, {5274, 0.15, 0.02}});
    } else if (name == "Hero") {
        samples = render(1.2, {{523.25, 0.3, 0.35}, {659.25, 0.3, 0.35, 0.12}, {783.99, 0.3, 0.45, 0.24}, {1046.5, 0.25, 0.5, 0.36}});
    } else if (name == "Glass") {
        samples = render(1.0, {{1568, 0.45, 0.25}, {3136, 0.15, 0.12}, {4704, 0.08, 0.06}});
    } else if (name == "Ping") {
        samples = render(0.8, {{1046.5, 0.5, 0.2}, {2093, 0.1, 0.1}});
    } else if (name == "Purr") {
        samples = render(1.0, {{196, 0.4, 0.35}, {201, 0.3, 0.35}, {392, 0.1, 0.2}});
    } else if (name == "Breeze") {
        samples = breeze();
    } else {
        return std::nullopt;
    }
    return WavPcm::encodeMono(samples, sampleRate);
}

}  // namespace solvara
