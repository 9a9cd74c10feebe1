// Gamma writes through X11 RandR, against a real X server at $DISPLAY:
//   tests/x11/with-xorg.sh build/bench/bench_x11
//
// Goal: building one 3400 K ramp and writing it to every CRTC, resampled to 1024 entries, in
// under 200 microseconds per display, the X round trip included.
//
// The dummy driver's CRTCs have 256 gamma entries, and no driver that runs without hardware
// offers 1024, so the goal is measured in parts: BM_WriteRampToEveryCrtc is the whole path on
// the server's own CRTCs (ramp built, resampled to the CRTC's size, sent, synced: the round
// trip), BM_ResampleRampTo1024 the extra work a 1024-entry CRTC costs on our side, and
// BM_SendTablesOf1024 the cost of a 1024-entry request on the wire (sent to a CRTC of 256, so
// the server refuses it after reading it; that refusal is part of the same round trip).
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/color/GammaRampGenerator.h"
#include "platform/linux/GammaResampler.h"
#include "platform/linux/RandrDisplays.h"
#include "platform/linux/X11DisplayTransfer.h"
#include "platform/linux/XErrorTrap.h"
#include "platform/linux/XHandles.h"

namespace {

using solvara::DisplayId;
using solvara::DisplayTransfer;
using solvara::GammaRampGenerator;

void BM_WriteRampToEveryCrtc(benchmark::State& state) {
    solvara::X11DisplayTransfer transfer;
    std::array<DisplayId, DisplayTransfer::maxDisplays> ids{};
    const std::size_t count = transfer.isConnected() ? transfer.activeDisplays(ids) : 0;
    if (count == 0) {
        state.SkipWithError("no X server with active displays at $DISPLAY");
        return;
    }
    const GammaRampGenerator generator;
    bool ok = true;
    for (auto _ : state) {
        const auto ramp = generator.generateRamp(3400, 1.0);
        for (std::size_t i = 0; i < count; ++i) {
            ok = transfer.setTransferByTable(ids[i], ramp.red, ramp.green, ramp.blue) && ok;
        }
    }
    if (!ok) state.SkipWithError("a write failed");
    transfer.restoreOriginalGamma();
    state.counters["displays"] = static_cast<double>(count);
    state.counters["per_display"] = benchmark::Counter(
        static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WriteRampToEveryCrtc)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The watchdog's way: the same writes in one batch, one round trip for all of them.
void BM_WriteRampToEveryCrtcBatched(benchmark::State& state) {
    solvara::X11DisplayTransfer transfer;
    std::array<DisplayId, DisplayTransfer::maxDisplays> ids{};
    const std::size_t count = transfer.isConnected() ? transfer.activeDisplays(ids) : 0;
    if (count == 0) {
        state.SkipWithError("no X server with active displays at $DISPLAY");
        return;
    }
    const GammaRampGenerator generator;
    for (auto _ : state) {
        const auto ramp = generator.generateRamp(3400, 1.0);
        solvara::WriteBatch batch(transfer);
        for (std::size_t i = 0; i < count; ++i) transfer.setTransferByTable(ids[i], ramp.red, ramp.green, ramp.blue);
    }
    transfer.restoreOriginalGamma();
    state.counters["displays"] = static_cast<double>(count);
    state.counters["per_display"] = benchmark::Counter(
        static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WriteRampToEveryCrtcBatched)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ResampleRampTo1024(benchmark::State& state) {
    const auto ramp = GammaRampGenerator{}.generateRamp(3400, 1.0);
    std::vector<std::uint16_t> red(1024), green(1024), blue(1024);
    for (auto _ : state) {
        solvara::GammaResampler::resample(ramp.red, red);
        solvara::GammaResampler::resample(ramp.green, green);
        solvara::GammaResampler::resample(ramp.blue, blue);
        benchmark::DoNotOptimize(red.data());
        benchmark::DoNotOptimize(green.data());
        benchmark::DoNotOptimize(blue.data());
    }
}
BENCHMARK(BM_ResampleRampTo1024)->Unit(benchmark::kMicrosecond);

void BM_SendTablesOf1024(benchmark::State& state) {
    solvara::x11::DisplayPtr display(XOpenDisplay(nullptr));
    std::vector<solvara::RandrDisplay> displays;
    if (display) {
        solvara::x11::XErrorTrap trap(display.get());
        displays = solvara::RandrDisplays::active(display.get());
    }
    if (displays.empty()) {
        state.SkipWithError("no X server with active displays at $DISPLAY");
        return;
    }
    const auto ramp = GammaRampGenerator{}.generateRamp(3400, 1.0);
    solvara::x11::CrtcGammaPtr gamma(XRRAllocGamma(1024));
    solvara::GammaResampler::resample(ramp.red, std::span<std::uint16_t>(gamma->red, 1024));
    solvara::GammaResampler::resample(ramp.green, std::span<std::uint16_t>(gamma->green, 1024));
    solvara::GammaResampler::resample(ramp.blue, std::span<std::uint16_t>(gamma->blue, 1024));
    int refused = 0;
    for (auto _ : state) {
        solvara::x11::XErrorTrap trap(display.get());
        for (const auto& target : displays) XRRSetCrtcGamma(display.get(), target.crtc, gamma.get());
        refused += trap.sync();
    }
    state.counters["refused_per_iteration"] =
        static_cast<double>(refused) / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["per_display"] =
        benchmark::Counter(static_cast<double>(displays.size()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SendTablesOf1024)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
