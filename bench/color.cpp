// Gamma ramps are rebuilt on every apply of the display state, per display, with no cache.
// Goal on the development machine: one ramp of any kind under 5 microseconds.

#include <cstdint>

#include <benchmark/benchmark.h>

#include "core/color/GammaRampGenerator.h"

namespace {

// Kelvins on both branches of the conversion, so the logarithm and the power paths both count.
constexpr std::int64_t kelvins[] = {1800, 2700, 4000, 6500, 9000};

template <class Generate>
void runRamps(benchmark::State& state, Generate generate) {
    const solvara::GammaRampGenerator generator;
    std::size_t i = 0;
    for (auto _ : state) {
        auto ramp = generate(generator, kelvins[i++ % std::size(kelvins)]);
        benchmark::DoNotOptimize(ramp);
        benchmark::ClobberMemory();
    }
}

void BM_Ramp(benchmark::State& state) {
    runRamps(state, [](const solvara::GammaRampGenerator& g, std::int64_t k) { return g.generateRamp(k, 0.9); });
}

void BM_InvertedRamp(benchmark::State& state) {
    runRamps(state,
             [](const solvara::GammaRampGenerator& g, std::int64_t k) { return g.generateInvertedRamp(k, 0.9); });
}

void BM_GrayscaleRamp(benchmark::State& state) {
    runRamps(state,
             [](const solvara::GammaRampGenerator& g, std::int64_t k) { return g.generateGrayscaleRamp(k, 0.9); });
}

void BM_RedOnlyRamp(benchmark::State& state) {
    runRamps(state, [](const solvara::GammaRampGenerator& g, std::int64_t) { return g.generateRedOnlyRamp(0.9); });
}

void BM_KelvinToRGB(benchmark::State& state) {
    const solvara::ColorTemperatureConverter converter;
    std::size_t i = 0;
    for (auto _ : state) {
        auto rgb = converter.kelvinToRGB(kelvins[i++ % std::size(kelvins)]);
        benchmark::DoNotOptimize(rgb);
    }
}

}  // namespace

BENCHMARK(BM_Ramp);
BENCHMARK(BM_InvertedRamp);
BENCHMARK(BM_GrayscaleRamp);
BENCHMARK(BM_RedOnlyRamp);
BENCHMARK(BM_KelvinToRGB);
