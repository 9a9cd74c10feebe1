#pragma once

#include <functional>

#include "platform/AmbientLightSource.h"
#include "platform/RunLoop.h"
#include "platform/Timer.h"

namespace solvara {

// Reads the ambient light and suggests a display brightness for it. The state object holds the
// one instance; the application shell alone drives it (connects, polls, stops).
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
    void stopPolling() { timer_.invalidate(); }
    bool isPolling() const { return timer_.isValid(); }

    // Called on the main thread with each new reading; a failed read calls nothing.
    void setOnLuxUpdate(std::function<void(double lux)> callback) { onLuxUpdate_ = std::move(callback); }

    bool isConnected() const { return isConnected_; }
    // False once a connection was tried and no sensor answered.
    bool isAvailable() const { return isAvailable_; }
    double currentLux() const { return currentLux_; }

    // 0.3 ... 1.0 for the last reading, or for `lux`.
    double suggestedBrightnessFactor() const { return suggestedBrightnessFactor(currentLux_); }
    static double suggestedBrightnessFactor(double lux);

private:
    void read();

    AmbientLightSource& source_;
    RunLoop& runLoop_;
    Timer timer_;  // a member, so it is cancelled with the sensor and never fires into a dead one
    std::function<void(double lux)> onLuxUpdate_;
    double currentLux_ = 0;
    bool isConnected_ = false;
    bool isAvailable_ = false;
};

}  // namespace solvara
