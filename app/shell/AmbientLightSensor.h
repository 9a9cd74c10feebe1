#pragma once

#include <functional>

#include "platform/AmbientLightSource.h"
#include "platform/RunLoop.h"
#include "platform/Timer.h"

namespace solvara {

// Reads the ambient light and suggests a display brightness for it. The state object creates
// and holds the one instance; the application shell connects it and polls it.
class AmbientLightSensor {
public:
    AmbientLightSensor(AmbientLightSource& source, RunLoop& runLoop);

    AmbientLightSensor(const AmbientLightSensor&) = delete;
    AmbientLightSensor& operator=(const AmbientLightSensor&) = delete;

    // Opens the sensor once; true while connected.
    bool connect();

    // Reads at once and then every `interval` seconds, replacing a running timer. Nothing when
    // no sensor can be connected.
    void startPolling(double interval);

    // 0.3 ... 1.0 for `currentLux`.
    double suggestedBrightnessFactor() const;

    bool isConnected = false;
    Timer timer;  // the polling timer; the shutdown invalidates it
    std::function<void(double lux)> onLuxUpdate;
    double currentLux = 0;
    bool isAvailable = false;

private:
    void read();

    AmbientLightSource& source_;
    RunLoop& runLoop_;
};

}  // namespace solvara
