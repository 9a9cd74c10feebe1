#pragma once

#include <QObject>

#include "app/ui/kit/ChartViews.h"

// The solvara-charts plugin: makes the views drawn with Qt Charts. Outside our namespace so that
// a build that links it in can import it by its plain name (Q_IMPORT_PLUGIN(HealthChartsPlugin)).
class HealthChartsPlugin : public QObject, public solvara::ChartViewFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SolvaraChartViewFactory_iid)
    Q_INTERFACES(solvara::ChartViewFactory)

public:
    QWidget* makeHealthCharts(solvara::AppState& state) override;
    void refreshHealthCharts(QWidget& charts) override;
};
