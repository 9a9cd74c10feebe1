// The health tab's hot paths: the CSV of a full year (goal under 2 ms) and the trend charts'
// first paint over 90 days (goal under 40 ms), offscreen.
#include <cstdlib>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QPushButton>

#include "app/state/AppState.h"
#include "app/ui/health/HealthChartsView.h"
#include "app/ui/health/HealthExports.h"
#include "bench/ViewBenchMain.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "platform/fake/FakePlatform.h"

namespace solvara {
namespace {

void recordYear(HealthHistory& history) {
    for (int ago = 365; ago >= 1; --ago) {
        const std::string date = HealthHistory::dateString(*Calendar::addingDays(-ago, Clock::now()));
        history.recordDay(date, 2.0 + (ago % 9) * 0.731, 5.0 + (ago % 13) * 3.37, (ago % 10) / 10.0, ago % 7, ago % 3,
                          40 + ago % 60, ago % 4 == 0 ? std::nullopt : std::optional<std::int64_t>(1 + ago % 5));
    }
}

void healthDataCsvOfAYear(benchmark::State& run) {
    FakePlatform platform;
    HealthHistory history;
    recordYear(history);
    for (auto _ : run) benchmark::DoNotOptimize(healthexports::healthDataFile(history));
}
BENCHMARK(healthDataCsvOfAYear)->Unit(benchmark::kMicrosecond);

void chartsFirstPaintOf90Days(benchmark::State& run) {
    FakePlatform platform;
    AppState state(platform.platform());
    recordYear(state.healthHistory());
    for (auto _ : run) {
        HealthChartsView view(state);
        view.findChild<QPushButton*>("chartRange90")->click();
        view.resize(600, view.sizeHint().height());
        benchmark::DoNotOptimize(view.grab());
    }
}
BENCHMARK(chartsFirstPaintOf90Days)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace solvara

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    return solvara::bench::runViewBenchmarks(argc, argv);
}
