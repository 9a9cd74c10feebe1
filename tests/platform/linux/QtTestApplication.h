#pragma once

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>

#include "tests/platform/linux/QtRest.h"

namespace solvara::testing {

// One QApplication for the whole test process, on the offscreen platform unless the
// environment chose another.
inline QApplication& qtTestApplication() {
    static int argc = 1;
    static char name[] = "platform_linux_tests";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return std::make_unique<QApplication>(argc, argv);
    }();
    return *application;
}

// Runs the event loop until `done` holds or `limitMs` passes (a bound against hanging, not a timing
// assertion); answers `done()`.
inline bool processEventsUntil(const std::function<bool()>& done, int limitMs = patienceMs) {
    const detail::Waker waker;
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return done();
}

// Brings the application's windows to rest (see bringToRest); windows that never come to rest
// fail the test, which is told what still moves.
inline void settle(int limitMs = patienceMs) {
    const std::vector<std::string> moving = bringToRest(limitMs);
    if (moving.empty()) return;
    std::string what;
    for (const std::string& item : moving) what += "\n  " + item;
    ADD_FAILURE() << "The windows did not come to rest within " << limitMs << " ms:" << what;
}

}  // namespace solvara::testing

// Wait-then-check for GoogleTest. Qt's QTRY_VERIFY and QTRY_COMPARE report through QTest, which
// GoogleTest never hears of: a failing one only returns from the test, and the test passes.
#define SOLVARA_EXPECT_EVENTUALLY(condition) \
    EXPECT_TRUE(::solvara::testing::processEventsUntil([&] { return static_cast<bool>(condition); })) << #condition
#define SOLVARA_EXPECT_EVENTUALLY_EQ(actual, expected)                                  \
    do {                                                                                \
        ::solvara::testing::processEventsUntil([&] { return (actual) == (expected); }); \
        EXPECT_EQ(actual, expected);                                                    \
    } while (false)
