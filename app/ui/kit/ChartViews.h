#pragma once

#include <QtPlugin>

class QWidget;

namespace solvara {

class AppState;

// The views drawn with Qt Charts, made by a plugin of ours (solvara-charts) that the program
// loads the first time a page asks for one: Qt Charts and the OpenGL libraries it pulls in stay
// out of the program for the hours it idles in the tray with no chart on screen.
class ChartViewFactory {
public:
    virtual ~ChartViewFactory() = default;

    // "Trends": the health history's charts over the state, for the caller to own and lay out.
    virtual QWidget* makeHealthCharts(AppState& state) = 0;
    // Shows the state's history as it is now; `charts` is a view this factory made.
    virtual void refreshHealthCharts(QWidget& charts) = 0;
};

// The factory: a plugin linked into the process (the tests), else solvara-charts.so beside the
// executable (the build tree) or in its installed place. Null when there is none, when another
// user could have put or changed it (PluginFiles.h) or when it does not load, logged once; the
// pages then show their data without charts.
ChartViewFactory* chartViewFactory();

}  // namespace solvara

#define SolvaraChartViewFactory_iid "app.solvara.ChartViewFactory/1"
Q_DECLARE_INTERFACE(solvara::ChartViewFactory, SolvaraChartViewFactory_iid)
