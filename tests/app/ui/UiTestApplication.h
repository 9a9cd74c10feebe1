#pragma once

#include <cstdlib>
#include <functional>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>

namespace solvara::testing {

// One QApplication for the whole test process, on the offscreen platform, with the program's
// application font.
inline QApplication& uiTestApplication() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        auto app = std::make_unique<QApplication>(argc, argv);
        QFont font("DejaVu Sans");
        font.setPixelSize(13);
        QApplication::setFont(font);
        return app;
    }();
    return *application;
}

// Runs the event loop until `done` holds or `limitMs` passes (a bound against hanging, not a
// timing assertion); answers `done()`.
inline bool processEventsUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return done();
}

}  // namespace solvara::testing
