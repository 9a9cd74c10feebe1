#pragma once

#include <cstdint>

#include "platform/ColorFilterPreferences.h"

namespace solvara {

// Scripted accessibility colour-filter settings.
class FakeColorFilterPreferences : public ColorFilterPreferences {
public:
    LoadResult load() override {
        ++loadCalls;
        return loadResult;
    }
    bool categoryEnabled(std::int32_t category) override { return category == 1 && enabled; }
    std::int32_t type(std::int32_t category) override { return category == 1 ? filterType : 0; }
    double singleColorHue() override { return hue; }
    double singleColorIntensity() override { return intensity; }

    LoadResult loadResult = LoadResult::frameworkMissing;  // as on Linux
    bool enabled = false;
    std::int32_t filterType = 16;
    double hue = 0.0;
    double intensity = 0.0;
    int loadCalls = 0;
};

}  // namespace solvara
