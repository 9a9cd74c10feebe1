// The dashboard's cost per state notice: one refresh of the whole page (goal under 2 ms) and one
// paint of it (goal under 8 ms), offscreen, at noon in London with a month of history.

#include <cstdlib>
#include <memory>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>

#include "app/state/AppState.h"
#include "app/ui/dashboard/DashboardTab.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "core/foundation/Calendar.h"
#include "platform/fake/FakePlatform.h"

namespace solvara {
namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "bench_dashboard";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("TZ", "UTC", 1);
        auto* created = new QApplication(argc, argv);  // lives until exit, as Qt's fonts need
        QFont font("DejaVu Sans");
        font.setPixelSize(13);
        QApplication::setFont(font);
        return created;
    }();
    return *app;
}

struct Dashboard {
    Dashboard() : fake(*Calendar::date(2026, 6, 17, 8, 30)) {
        application();
        fake.displayTransfer.displays = {11};
        fake.events.enabled = false;
        state = std::make_unique<AppState>(fake.platform());
        state->setCoordinate(Coordinate{51.5, -0.12});
        const Date now = fake.runLoop.now();
        for (int day = 1; day <= 30; ++day) {
            state->healthHistory().recordDay(Calendar::dayKey(*Calendar::addingDays(-day, now)), 5.0, 12.0, 0.8, 6, 2,
                                             80, std::nullopt);
        }
        tab = std::make_unique<DashboardTab>(*state, ui.services());
        Theme::apply(tab.get(), false);
        tab->resize(960, 820);
        tab->show();
        QCoreApplication::processEvents();
    }

    FakePlatform fake;
    FakeUiServices ui;
    std::unique_ptr<AppState> state;
    std::unique_ptr<DashboardTab> tab;
};

void BM_DashboardRefresh(benchmark::State& run) {
    Dashboard dashboard;
    for (auto _ : run) dashboard.tab->refresh();
}
BENCHMARK(BM_DashboardRefresh)->Unit(benchmark::kMicrosecond);

void BM_DashboardPaint(benchmark::State& run) {
    Dashboard dashboard;
    QImage image(dashboard.tab->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : run) {
        QPainter painter(&image);
        dashboard.tab->render(&painter);
    }
}
BENCHMARK(BM_DashboardPaint)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace solvara
