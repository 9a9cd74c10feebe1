// The main window as the user meets it, offscreen with the program's font and style: built and
// shown with its first tab painted, and a switch from one tab to the next painted.
// Goals: the first show under 150 ms, a tab switch under 30 ms.

#include <cstdlib>
#include <memory>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFont>
#include <QStyleFactory>

#include "app/state/AppState.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/settings/MainWindow.h"
#include "app/ui/settings/SettingsView.h"
#include "bench/ViewBenchMain.h"
#include "platform/fake/FakePlatform.h"

namespace {

using namespace solvara;

// Shows `window` and waits until it has been painted.
void paint(QWidget& window) {
    window.repaint();
    QCoreApplication::processEvents();
}

void BM_MainWindowFirstShow(benchmark::State& run) {
    FakePlatform fake;
    AppState state(fake.platform());
    state.setHasCompletedOnboarding(true);
    FakeUiServices ui;
    for (auto _ : run) {
        auto window = std::make_unique<MainWindow>(state, ui.services());
        window->present();
        paint(*window);
        run.PauseTiming();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        run.ResumeTiming();
    }
}
// Registered first, run once: the process's very first show loads the fonts and the style too.
BENCHMARK(BM_MainWindowFirstShow)->Name("BM_MainWindowFirstShow/cold")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainWindowFirstShow)->Unit(benchmark::kMillisecond);

void BM_TabSwitch(benchmark::State& run) {
    FakePlatform fake;
    AppState state(fake.platform());
    state.setHasCompletedOnboarding(true);
    FakeUiServices ui;
    MainWindow window(state, ui.services());
    window.present();
    paint(window);
    // The heaviest tabs in turn: the whole Display tab, the Schedule tab with its 140 cities.
    const SettingsTab tabs[] = {SettingsTab::display,   SettingsTab::schedule, SettingsTab::general,
                                SettingsTab::shortcuts, SettingsTab::features, SettingsTab::help};
    std::size_t next = 0;
    for (auto _ : run) {
        window.showTab(tabs[next++ % std::size(tabs)]);
        paint(window);
        run.PauseTiming();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        run.ResumeTiming();
    }
}
BENCHMARK(BM_TabSwitch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return solvara::bench::runViewBenchmarks(argc, argv);
}
