// Soundscape synthesis: the player's 8-second loop at 44100 Hz, once per theme.
// Goal: under 15 ms per theme on one core (over 500 times real time), so a theme change is
// ready long before the cross-fade needs it. WAV encoding of the same loop for comparison.
//
// The hash key is fixed: the process's random key decides how many cricket voices sing and for
// how long, which moves that theme's time by a third from run to run. This key gives the day's
// crickets 7 voices and 30 s of chirps, near the most (35 s) any key can give.

#include <benchmark/benchmark.h>

#include "core/audio/SoundscapeGenerator.h"
#include "core/foundation/StringHash.h"

namespace {

using solvara::SoundscapeGenerator;

void BM_GenerateBuffer(benchmark::State& state) {
    solvara::StringHash::setKeyForTesting(1015, 0xFEDCBA9876543210ULL);
    const auto theme = SoundscapeGenerator::allThemes[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(std::string(SoundscapeGenerator::rawValue(theme)));
    for (auto _ : state) {
        auto buffer =
            SoundscapeGenerator::generateBuffer(theme, SoundscapeGenerator::SoundscapeGroup::day, 8.0, 44100.0);
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_GenerateBuffer)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

void BM_WavData(benchmark::State& state) {
    const auto buffer = SoundscapeGenerator::generateBuffer(SoundscapeGenerator::SoundscapeTheme::wind,
                                                            SoundscapeGenerator::SoundscapeGroup::day, 8.0, 44100.0);
    for (auto _ : state) {
        auto data = SoundscapeGenerator::wavData(buffer, 44100);
        benchmark::DoNotOptimize(data.data());
    }
}
BENCHMARK(BM_WavData)->Unit(benchmark::kMillisecond);

}  // namespace
