// The tray popover, offscreen: built and painted for the first time (goal under 30 ms), and one
// refresh as the break countdown ticks while it is open (goal under 1 ms, with or without the
// repaint it causes).

#include <cstdlib>
#include <iostream>
#include <memory>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStyleFactory>

#include "app/state/AppState.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "bench/ViewBenchMain.h"
#include "core/foundation/Format.h"
#include "platform/fake/FakePlatform.h"

namespace {

using namespace solvara;

// 2026-06-21 22:00 UTC: night, breaks counting, two hints shown.
constexpr Date night{804038400.0 + 22 * 3600.0};

struct Scene {
    Scene() : fakes(night), state(fakes.platform()) {
        state.setCoordinate(Coordinate{52.52, 13.405});
        state.updateCircadianState();
        state.setBreaksEnabled(true);
        state.tickBreakTimer();
    }
    FakePlatform fakes;
    AppState state;
    FakeUiServices ui;
};

void paint(QWidget& widget, QImage& image) {
    QPainter painter(&image);
    widget.render(&painter);
}

void BM_PopoverBuiltAndFirstPainted(benchmark::State& run) {
    Scene scene;
    QImage image(MenuBarPopover::popoverWidth, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : run) {
        MenuBarPopover popover(scene.state, scene.ui.services());
        popover.adjustSize();
        paint(popover, image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_PopoverBuiltAndFirstPainted)->Unit(benchmark::kMillisecond);

void BM_PopoverRefreshEachSecond(benchmark::State& run) {
    Scene scene;
    MenuBarPopover popover(scene.state, scene.ui.services());
    popover.adjustSize();
    const bool repaint = run.range(0) != 0;
    QImage image(popover.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : run) {
        run.PauseTiming();
        scene.fakes.runLoop.advance(1.0);
        scene.state.tickBreakTimer();
        run.ResumeTiming();
        popover.refresh();
        if (repaint) paint(popover, image);
    }
}
BENCHMARK(BM_PopoverRefreshEachSecond)->Arg(0)->Arg(1)->ArgName("repaint")->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return solvara::bench::runViewBenchmarks(argc, argv, [] {
        // The very first popover of a process also loads the fonts: what a user sees at the
        // first click after start-up.
        Scene scene;
        QImage image(MenuBarPopover::popoverWidth, 600, QImage::Format_ARGB32_Premultiplied);
        QElapsedTimer cold;
        cold.start();
        MenuBarPopover popover(scene.state, scene.ui.services());
        popover.adjustSize();
        paint(popover, image);
        std::cout << "first popover of the process (fonts cold): "
                  << format::fixed(static_cast<double>(cold.nsecsElapsed()) / 1e6, 2) << " ms\n";
    });
}
