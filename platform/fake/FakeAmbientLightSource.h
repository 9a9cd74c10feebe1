#pragma once

#include <optional>

#include "platform/AmbientLightSource.h"

namespace solvara {

// A scripted light sensor.
class FakeAmbientLightSource : public AmbientLightSource {
public:
    bool open() override {
        ++openAttempts;
        if (!present) return false;
        if (!opened) ++opens;
        opened = true;
        return true;
    }
    std::optional<double> readLux() override {
        ++reads;
        if (!opened) return std::nullopt;
        return lux;
    }

    // Scripted: no sensor when false; an empty lux fails the read.
    bool present = true;
    std::optional<double> lux = 0.0;

    // Recorded.
    bool opened = false;
    int openAttempts = 0;
    int opens = 0;
    int reads = 0;
};

}  // namespace solvara
