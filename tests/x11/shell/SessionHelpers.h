#pragma once

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

namespace solvara::testing {

// Runs the event loop until `done` holds or `limitMs` passes (a bound against hanging, not a
// timing assertion); answers `done()`.
inline bool processEventsUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return done();
}

// Lets the event loop run for `ms`.
inline void processEventsFor(int ms) {
    processEventsUntil([] { return false; }, ms);
}

// Runs a desktop tool to completion while the event loop keeps running (our X connections and
// sinks are served meanwhile); answers its standard output, or empty on failure.
inline std::optional<std::string> runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(5000)) return std::nullopt;
    processEventsUntil([&] { return process.state() == QProcess::NotRunning; }, 10000);
    if (process.state() != QProcess::NotRunning || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return std::nullopt;
    }
    return process.readAllStandardOutput().toStdString();
}

}  // namespace solvara::testing
