#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QThread>

#include "platform/linux/IioAmbientLightSource.h"
#include "platform/linux/X11Workspace.h"
#include "tests/x11/shell/FakeSensorProxy.h"
#include "tests/x11/shell/SessionHelpers.h"

namespace solvara {
namespace {

// Counts the D-Bus signals it is connected to, on the main thread.
class SignalCounter : public QObject {
    Q_OBJECT

public:
    int count = 0;

public slots:
    void heard() { ++count; }
};

bool standInSystemBus() {
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    return address != nullptr && QString(address).contains("solvara-session");
}

TEST(SystemBusX11Test, WakingFromSleepIsReportedFromLogind) {
    if (!standInSystemBus()) GTEST_SKIP() << "needs the stand-in system bus of with-session.sh";
    QDBusConnection logind = QDBusConnection::connectToBus(QDBusConnection::SystemBus, "fake-logind");
    ASSERT_TRUE(logind.isConnected());
    ASSERT_TRUE(logind.registerService("org.freedesktop.login1"));

    X11Workspace workspace;
    int wakes = 0;
    workspace.observeWake([&] { ++wakes; });
    // logind's next signal, heard here the way the workspace hears PrepareForSleep.
    SignalCounter shutdowns;
    ASSERT_TRUE(QDBusConnection::systemBus().connect("org.freedesktop.login1", "/org/freedesktop/login1",
                                                     "org.freedesktop.login1.Manager", "PrepareForShutdown", &shutdowns,
                                                     SLOT(heard())));
    auto send = [&](const char* name, bool value) {
        QDBusMessage signal =
            QDBusMessage::createSignal("/org/freedesktop/login1", "org.freedesktop.login1.Manager", name);
        signal << value;
        return logind.send(signal);
    };
    // Both watches are in place at the bus before logind speaks.
    ASSERT_TRUE(testing::roundTrip(QDBusConnection::systemBus()));
    ASSERT_TRUE(send("PrepareForSleep", true));
    ASSERT_TRUE(send("PrepareForSleep", false));
    // Signals from one sender reach us in order and are delivered in order: once the last one has
    // been, so have both before it, and settle() delivers the reports they posted.
    ASSERT_TRUE(send("PrepareForShutdown", false));
    ASSERT_TRUE(testing::processEventsUntil([&] { return shutdowns.count > 0; }));
    testing::settle();
    EXPECT_EQ(wakes, 1) << "going to sleep is not a wake";

    logind.unregisterService("org.freedesktop.login1");
    QDBusConnection::disconnectFromBus("fake-logind");
}

TEST(SystemBusX11Test, TheSensorProxyIsClaimedReadAndReleased) {
    if (!standInSystemBus()) GTEST_SKIP() << "needs the stand-in system bus of with-session.sh";
    QThread thread;
    thread.start();
    testing::FakeSensorProxy proxy;
    proxy.level = 312.5;
    proxy.moveToThread(&thread);
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SystemBus, "fake-sensor-proxy");
    ASSERT_TRUE(bus.registerObject("/net/hadess/SensorProxy", &proxy,
                                   QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
    ASSERT_TRUE(bus.registerService("net.hadess.SensorProxy"));

    {
        IioAmbientLightSource source("/nonexistent");
        ASSERT_TRUE(source.open());
        EXPECT_EQ(proxy.claims, 1);
        EXPECT_EQ(source.readLux(), 312.5);
    }
    EXPECT_EQ(proxy.releases, 1);

    bus.unregisterService("net.hadess.SensorProxy");
    bus.unregisterObject("/net/hadess/SensorProxy");
    QDBusConnection::disconnectFromBus("fake-sensor-proxy");
    thread.quit();
    thread.wait();
}

}  // namespace
}  // namespace solvara

#include "SystemBusServicesTest.moc"
