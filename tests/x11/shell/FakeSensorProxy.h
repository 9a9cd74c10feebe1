#pragma once

#include <atomic>

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace solvara::testing {

// iio-sensor-proxy as the tests play it on the stand-in system bus. It answers from a thread of
// its own: the code under test reads its properties with blocking calls from the main thread.
class FakeSensorProxy : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "net.hadess.SensorProxy")
    Q_PROPERTY(bool HasAmbientLight READ hasAmbientLight)
    Q_PROPERTY(double LightLevel READ lightLevel)
    Q_PROPERTY(QString LightLevelUnit READ lightLevelUnit)

public:
    bool hasAmbientLight() const { return true; }
    double lightLevel() const { return level; }
    QString lightLevelUnit() const { return QStringLiteral("lux"); }

    double level = 0;
    // Counted on the proxy's thread, read on the test's.
    std::atomic<int> claims = 0;
    std::atomic<int> releases = 0;

public slots:
    void ClaimLight() { ++claims; }
    void ReleaseLight() { ++releases; }
};

}  // namespace solvara::testing
