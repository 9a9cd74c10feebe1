#pragma once

#include <iostream>
#include <optional>
#include <string>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QStringList>

// processEventsUntil(), settle() and patienceMs, shared with the other Qt tests.
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {

// Runs a desktop tool to completion while the event loop keeps running (our X connections and
// sinks are served meanwhile); answers its standard output, or empty on failure (said on stderr
// with the tool's own words).
inline std::optional<std::string> runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(patienceMs)) return std::nullopt;
    processEventsUntil([&] { return process.state() == QProcess::NotRunning; });
    if (process.state() != QProcess::NotRunning || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::cerr << (program + " " + arguments.join(' ')).toStdString() << " failed (exit " << process.exitCode()
                  << "): " << process.readAllStandardError().toStdString() << "\n";
        return std::nullopt;
    }
    return process.readAllStandardOutput().toStdString();
}

// A call to the bus daemon on `bus` that blocks until it is answered: the daemon handles a
// connection's messages in the order they were sent, so everything `bus` sent before (a match
// rule, a signal) has been handled and passed on.
inline bool roundTrip(const QDBusConnection& bus) {
    return bus.interface() != nullptr &&
           bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus")).isValid();
}

// Sends `call` on `bus` and waits for its answer without blocking the loop. Qt hands the answers
// to a connection's calls to the main thread in the order they came, so the answers to calls
// sent before it (and answered before it) have been delivered by then; what they posted in turn
// is delivered by a settle() after. Signals are no such proof: Qt holds those back on a new
// connection until the loop has run once.
inline bool answeredInOrder(const QDBusConnection& bus, const QDBusMessage& call) {
    QDBusPendingCallWatcher watcher(bus.asyncCall(call));
    bool answered = false;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, [&] { answered = true; });
    return processEventsUntil([&] { return answered; }) && !watcher.isError();
}

}  // namespace solvara::testing
