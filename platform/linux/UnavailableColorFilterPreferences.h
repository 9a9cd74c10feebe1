#pragma once

#include "platform/ColorFilterPreferences.h"

namespace solvara {

// Linux desktops have no accessibility colour filter to save and put back: the preferences
// library is reported missing and every reader answers its neutral value.
class UnavailableColorFilterPreferences : public ColorFilterPreferences {
public:
    LoadResult load() override { return LoadResult::frameworkMissing; }
    bool categoryEnabled(std::int32_t) override { return false; }
    std::int32_t type(std::int32_t) override { return 0; }
    double singleColorHue() override { return 0.0; }
    double singleColorIntensity() override { return 0.0; }
};

}  // namespace solvara
