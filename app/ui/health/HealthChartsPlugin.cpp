#include "app/ui/health/HealthChartsPlugin.h"

#include "app/ui/health/HealthChartsView.h"

QWidget* HealthChartsPlugin::makeHealthCharts(solvara::AppState& state) {
    return new solvara::HealthChartsView(state);
}

void HealthChartsPlugin::refreshHealthCharts(QWidget& charts) {
    static_cast<solvara::HealthChartsView&>(charts).refresh();
}
