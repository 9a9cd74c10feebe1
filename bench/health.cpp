// Health history coding: the whole year is rewritten on every settings save and read once at
// launch. Goal: under 5 ms each for a full 365-day history.

#include <benchmark/benchmark.h>

#include "core/foundation/Calendar.h"
#include "core/health/HealthHistory.h"

namespace {

solvara::HealthHistory fullYear() {
    solvara::HealthHistory history;
    const solvara::Date start = *solvara::Calendar::date(2024, 1, 1, 12);
    for (int day = 0; day < 365; ++day) {
        const auto date = solvara::HealthHistory::dateString(*solvara::Calendar::addingDays(day, start));
        const std::optional<std::int64_t> rating =
            day % 3 == 0 ? std::nullopt : std::optional<std::int64_t>(day % 5 + 1);
        history.recordDay(date, 3.0 + day * 0.0137, 12.5 + day * 0.31, (day % 10) / 10.0, day % 9, day % 4, day % 101,
                          rating);
    }
    return history;
}

void BM_EncodeYear(benchmark::State& state) {
    const auto history = fullYear();
    for (auto _ : state) {
        auto data = history.encode();
        benchmark::DoNotOptimize(data);
    }
}
BENCHMARK(BM_EncodeYear)->Unit(benchmark::kMillisecond);

void BM_DecodeYear(benchmark::State& state) {
    const auto data = *fullYear().encode();
    solvara::HealthHistory history;
    for (auto _ : state) {
        history.restore(data);
        benchmark::DoNotOptimize(history.snapshots().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_DecodeYear)->Unit(benchmark::kMillisecond);

}  // namespace
