#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/AmbientLightSource.h"

class QDBusInterface;

namespace solvara {

// The ambient-light sensor through iio-sensor-proxy (net.hadess.SensorProxy on the system bus),
// else read straight from the kernel's industrial-I/O devices (in_illuminance_input, or raw
// times scale plus offset), else unavailable. Main thread only.
class IioAmbientLightSource : public AmbientLightSource {
public:
    explicit IioAmbientLightSource(std::string sysfsDevices = "/sys/bus/iio/devices", bool useSensorProxy = true);
    ~IioAmbientLightSource() override;

    bool open() override;
    std::optional<double> readLux() override;

private:
    bool openSensorProxy();
    bool openSysfs();
    std::optional<double> readSysfs() const;

    std::string sysfsDevices_;
    bool useSensorProxy_;
    std::unique_ptr<QDBusInterface> proxy_;  // set while the light is claimed
    std::string deviceFolder_;               // the sysfs device in use, when no proxy
    bool reportedUnavailable_ = false;
    bool reportedVendorUnits_ = false;
};

}  // namespace solvara
