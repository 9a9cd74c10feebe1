// Display output hot paths on the fakes.
//
// Goal: one gamma-watchdog firing with 16 displays costs under 50 microseconds of our own work
// (the firing minus what the fake transfer itself spends recording, measured separately by
// BM_FakeTransferOnly16).

#include <array>
#include <memory>

#include <benchmark/benchmark.h>

#include "app/display/DisplayManager.h"
#include "platform/fake/FakePlatform.h"

namespace {

using namespace solvara;

std::unique_ptr<FakePlatform> quietPlatform() {
    auto fake = std::make_unique<FakePlatform>();
    fake->events.enabled = false;
    fake->displayTransfer.keepHistory = false;
    for (DisplayId id = 1; id <= 16; ++id) fake->displayTransfer.displays.push_back(id * 7);
    fake->files.resources["ns_helper"] = "/usr/libexec/solvara/ns_helper";
    return fake;
}

void BM_WatchdogFiring16(benchmark::State& state) {
    auto fake = quietPlatform();
    DisplayManager manager(fake->platform());
    manager.applyColorTemperature(3400, ScreenEffect::none, GammaAPI::byTable);
    for (auto _ : state) {
        fake->runLoop.advance(DisplayManager::watchdogInterval);  // exactly one firing
    }
    state.counters["writes/iter"] =
        benchmark::Counter(static_cast<double>(fake->displayTransfer.writeCount), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_WatchdogFiring16);

void BM_FakeTransferOnly16(benchmark::State& state) {
    auto fake = quietPlatform();
    DisplayManager manager(fake->platform());
    const auto ramp = manager.rampFor(3400, 1.0, ScreenEffect::none);
    for (auto _ : state) {
        for (DisplayId id : fake->displayTransfer.displays) {
            benchmark::DoNotOptimize(fake->displayTransfer.setTransferByTable(id, ramp.red, ramp.green, ramp.blue));
        }
    }
}
BENCHMARK(BM_FakeTransferOnly16);

void BM_ApplyColorTemperatureByTable16(benchmark::State& state) {
    auto fake = quietPlatform();
    DisplayManager manager(fake->platform());
    std::int64_t kelvin = 3400;
    for (auto _ : state) {
        manager.applyColorTemperature(kelvin, ScreenEffect::none, GammaAPI::byTable);
        kelvin = kelvin == 3400 ? 3380 : 3400;
    }
}
BENCHMARK(BM_ApplyColorTemperatureByTable16);

}  // namespace
