// The 10-second tick's engine state. Goals on the development machine: a solar-event cache hit
// under 10 microseconds, a miss (the whole day sampled, 144 positions plus the refinements)
// under 1 millisecond.

#include <cstdlib>
#include <ctime>

#include <benchmark/benchmark.h>

#include "core/engine/CircadianEngine.h"
#include "core/foundation/Calendar.h"

namespace {

using solvara::CircadianEngine;
using solvara::Coordinate;
using solvara::Date;

const Coordinate newYork{40.7128, -74.006};

void useNewYorkTime() {
    setenv("TZ", "America/New_York", 1);
    tzset();
}

void BM_CurrentStateCacheHit(benchmark::State& state) {
    useNewYorkTime();
    const CircadianEngine engine;
    const Date morning = *solvara::Calendar::date(2024, 6, 21, 6, 0);
    engine.currentState(newYork, morning);  // fills the cache
    double offset = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.currentState(newYork, morning + offset));
        offset = offset < 3600 ? offset + 10 : 0;  // ticks within the same day
    }
}
BENCHMARK(BM_CurrentStateCacheHit);

void BM_CurrentStateCacheMiss(benchmark::State& state) {
    useNewYorkTime();
    const CircadianEngine engine;
    // Alternating days keep replacing the one cache entry, so every call samples a whole day.
    const Date days[2] = {*solvara::Calendar::date(2024, 6, 21, 6, 0), *solvara::Calendar::date(2024, 6, 22, 6, 0)};
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.currentState(newYork, days[next]));
        next ^= 1;
    }
}
BENCHMARK(BM_CurrentStateCacheMiss)->Unit(benchmark::kMicrosecond);

}  // namespace
