#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace solvara {

// The PCM samples of a RIFF/WAVE file and their format: what an audio sink needs to play it.
struct WavPcm {
    int sampleRate = 0;
    int channelCount = 0;
    std::vector<std::uint8_t> samples;  // 16-bit signed little-endian, interleaved

    // Reads a complete file of 16-bit PCM (format 1) with 1 or 2 channels; chunks other than
    // "fmt " and "data" are skipped. Empty for anything else or a truncated file.
    static std::optional<WavPcm> parse(std::span<const std::uint8_t> file);

    // A mono 16-bit file of `samples` (each -1...1, clamped) at `sampleRate`.
    static std::vector<std::uint8_t> encodeMono(std::span<const float> samples, int sampleRate);
};

}  // namespace solvara
