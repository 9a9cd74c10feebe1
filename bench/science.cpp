// The Science tab's first paint with every card open, offscreen.

#include <benchmark/benchmark.h>
#include <cstdlib>

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QImage>

#include "app/state/AppState.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/science/ScienceCard.h"
#include "app/ui/science/ScienceView.h"
#include "bench/ViewBenchMain.h"
#include "platform/fake/FakePlatform.h"

using namespace solvara;

static void BM_ScienceFirstPaintAllChartsOpen(benchmark::State& run) {
    FakePlatform fakes;
    AppState state(fakes.platform());
    FakeUiServices ui;
    // One canvas for every run: the page is painted, not the memory for its picture allocated.
    QImage canvas(620, 4200, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : run) {
        ScienceView view(state, ui.services());
        for (int i = 0; i < ScienceView::cardCount; ++i) {
            view.card(i)->findChild<QAbstractButton*>("scienceCardHeader")->click();
        }
        // Tall enough that every open card is laid out and painted.
        view.resize(620, 4200);
        canvas.fill(Qt::transparent);
        view.render(&canvas);
        benchmark::DoNotOptimize(canvas);
    }
}
BENCHMARK(BM_ScienceFirstPaintAllChartsOpen)->Unit(benchmark::kMillisecond);

// A repaint of the same open page: the charts' drawing alone.
static void BM_ScienceRepaintAllChartsOpen(benchmark::State& run) {
    FakePlatform fakes;
    AppState state(fakes.platform());
    FakeUiServices ui;
    ScienceView view(state, ui.services());
    for (int i = 0; i < ScienceView::cardCount; ++i) {
        view.card(i)->findChild<QAbstractButton*>("scienceCardHeader")->click();
    }
    view.resize(620, 4200);
    QImage canvas(620, 4200, QImage::Format_ARGB32_Premultiplied);
    view.render(&canvas);
    for (auto _ : run) {
        canvas.fill(Qt::transparent);
        view.render(&canvas);
        benchmark::DoNotOptimize(canvas);
    }
}
BENCHMARK(BM_ScienceRepaintAllChartsOpen)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return solvara::bench::runViewBenchmarks(argc, argv);
}
