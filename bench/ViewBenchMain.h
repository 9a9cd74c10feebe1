#pragma once

// The main of the views' benchmarks: the widgets need a QApplication (offscreen, Fusion,
// DejaVu Sans 13 px, as the program and the screenshots have) on main's stack before any
// benchmark runs.

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <functional>

#include <QApplication>
#include <QFont>
#include <QStyleFactory>
#include <QtPlugin>

// The charts are a plugin of the program; the benchmarks link it in.
Q_IMPORT_PLUGIN(HealthChartsPlugin)

namespace solvara::bench {

// `beforeRuns` runs once with the application up (a measurement of a cold first use).
inline int runViewBenchmarks(int argc, char** argv, const std::function<void()>& beforeRuns = {}) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    QApplication::setFont(font);
    if (beforeRuns) beforeRuns();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace solvara::bench
