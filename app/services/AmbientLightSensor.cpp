#include "app/services/AmbientLightSensor.h"

#include <algorithm>

namespace solvara {

AmbientLightSensor::AmbientLightSensor(AmbientLightSource& source, RunLoop& runLoop)
    : source_(source), runLoop_(runLoop) {}

bool AmbientLightSensor::connect() {
    if (isConnected_) return true;
    if (!source_.open()) {
        isAvailable_ = false;
        return false;
    }
    isConnected_ = true;
    isAvailable_ = true;
    return true;
}

void AmbientLightSensor::startPolling(double interval) {
    if (!isConnected_ && !connect()) return;
    timer_ = Timer::repeating(runLoop_, interval, [this] { read(); });
    read();
}

void AmbientLightSensor::read() {
    if (!isConnected_) return;
    const std::optional<double> lux = source_.readLux();
    if (!lux) return;  // a failed read keeps the last value
    currentLux_ = *lux;
    if (onLuxUpdate_) onLuxUpdate_(currentLux_);
}

double AmbientLightSensor::suggestedBrightnessFactor(double lux) {
    // Between 10 and 50 lux the slope starts from 0, not from 10: the factor jumps to 0.34 at
    // 10 lux, as the brightness table has always done.
    if (lux < 10) return 0.3;
    if (lux < 50) return 0.3 + lux / 50 * 0.2;
    if (lux < 300) return 0.5 + (lux - 50) / 250 * 0.2;
    if (lux < 500) return 0.7 + (lux - 300) / 200 * 0.1;
    return std::min(0.8 + (lux - 500) / 500 * 0.2, 1.0);
}

}  // namespace solvara
