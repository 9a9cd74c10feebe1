// The dashboard at dawn, noon and night in London, and on a polar day in Tromsø.

#include <QSlider>

#include "app/ui/dashboard/DashboardTab.h"
#include "app/ui/settings/SettingsView.h"
#include "core/foundation/Calendar.h"
#include "tests/screenshots/Screenshots.h"

using namespace solvara;

namespace {

constexpr int width = 960;
constexpr int height = 820;

Date at(int year, int month, int day, int hour, int minute) {
    return *Calendar::date(year, month, day, hour, minute);
}

// A week and a month of history, so that the health card shows its averages.
void recordHistory(AppState& state, Date today) {
    for (int day = 1; day <= 30; ++day) {
        const Date date = *Calendar::addingDays(-day, today);
        state.healthHistory().recordDay(Calendar::dayKey(date), 5.0 + day % 4 * 0.5, 8.0 + day % 5 * 6.0,
                                        0.6 + day % 3 * 0.1, 6, 2, 70 + day % 10, std::nullopt);
    }
}

}  // namespace

SOLVARA_SCENE(dashboardDawn, "dashboard-dawn", width, height) {
    const Date now = at(2026, 3, 20, 6, 40);
    scene.setStart(now);
    scene.state().setWakeHour(6);
    scene.updateAt(now, 51.5, -0.12);
    scene.state().setScreenTimeToday(0.4);
    return std::make_unique<DashboardTab>(scene.state(), scene.ui());
}

SOLVARA_SCENE(dashboardNoon, "dashboard-noon", width, height) {
    const Date now = at(2026, 6, 17, 12, 30);
    scene.setStart(now);
    scene.updateAt(now, 51.5, -0.12);
    recordHistory(scene.state(), now);
    scene.state().setScreenTimeToday(3.27);
    scene.state().logMorningSunlight(15);
    auto tab = std::make_unique<DashboardTab>(scene.state(), scene.ui());
    // A preview of the evening, as after the user moved the slider.
    auto* slider = tab->findChild<QSlider*>("timeMachineSlider");
    slider->setValue(4 * 20 + 2);
    return tab;
}

SOLVARA_SCENE(dashboardNight, "dashboard-night", width, height) {
    const Date now = at(2026, 12, 21, 22, 40);
    scene.setStart(now);
    scene.updateAt(now, 51.5, -0.12);
    scene.state().lightDebtCalculator().restoreDebt(42, "");
    scene.state().logMorningSunlight(0);
    scene.state().setScreenTimeToday(9.5);
    return std::make_unique<DashboardTab>(scene.state(), scene.ui());
}

SOLVARA_SCENE(dashboardPolarDay, "dashboard-polar-day", width, height) {
    const Date now = at(2026, 6, 21, 7, 45);
    scene.setStart(now);
    scene.updateAt(now, 69.65, 18.96);
    return std::make_unique<DashboardTab>(scene.state(), scene.ui());
}

// The page as the main window shows it at its opening size, in the morning, with history.
SOLVARA_SCENE(dashboardInWindow, "dashboard-in-window", SettingsView::width, SettingsView::height) {
    const Date now = at(2026, 6, 17, 7, 20);
    scene.setStart(now);
    scene.updateAt(now, 51.5, -0.12);
    recordHistory(scene.state(), now);
    auto view = std::make_unique<SettingsView>(scene.state(), scene.ui());
    view->select(SettingsTab::dashboard);
    return view;
}
