#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "app/display/DisplayManager.h"
#include "platform/fake/FakePlatform.h"

namespace solvara::testing {

inline constexpr const char* helperPath = "/usr/libexec/solvara/ns_helper";
inline constexpr const char* controlPath = "/run/user/1000/solvara/solvara_ns_target";
inline constexpr const char* savedStatePath = "/home/user/.local/state/solvara/nightlight-saved-state.json";

// Two displays with screens, the helper installed, the night light available.
class DisplayTest : public ::testing::Test {
protected:
    DisplayTest() {
        fake.displayTransfer.displays = {11, 22};
        fake.screens.screenList = {ScreenInfo{11, "Built-in", {0, 0, 1920, 1080}},
                                   ScreenInfo{22, "Side", {1920, 0, 1280, 800}}};
        fake.files.resources["ns_helper"] = helperPath;
        fake.nightLight.available = true;
    }

    DisplayManager& manager() {
        if (!manager_) manager_ = std::make_unique<DisplayManager>(fake.platform());
        return *manager_;
    }
    void destroyManager() { manager_.reset(); }

    using Curve = FakeDisplayTransfer::Curve;
    // The generator's ramp for the effect, as a display would show it.
    static Curve ramp(std::int64_t kelvin, double brightness = 1.0, ScreenEffect effect = ScreenEffect::none) {
        const GammaRampGenerator generator;
        const auto r = effect == ScreenEffect::invert      ? generator.generateInvertedRamp(kelvin, brightness)
                       : effect == ScreenEffect::grayscale ? generator.generateGrayscaleRamp(kelvin, brightness)
                                                           : generator.generateRamp(kelvin, brightness);
        return Curve{r.red, r.green, r.blue};
    }
    static Curve identity() { return FakeDisplayTransfer::identity(); }
    // A curve written by formula is sampled with pow(): equal to the table within float noise.
    static void expectNear(const Curve& actual, const Curve& expected) {
        for (std::size_t i = 0; i < actual.red.size(); ++i) {
            ASSERT_NEAR(actual.red[i], expected.red[i], 1e-6) << i;
            ASSERT_NEAR(actual.green[i], expected.green[i], 1e-6) << i;
            ASSERT_NEAR(actual.blue[i], expected.blue[i], 1e-6) << i;
        }
    }

    FakePlatform fake;

private:
    std::unique_ptr<DisplayManager> manager_;
};

}  // namespace solvara::testing
