#include "app/services/AmbientLightSensor.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/services/LaunchAtLogin.h"
#include "platform/fake/FakePlatform.h"

namespace solvara {
namespace {

TEST(AmbientLightSensorTest, BrightnessFactorFollowsTheLightTable) {
    // 10 lux jumps to 0.34: the slope below 50 starts from 0, not from 10.
    const std::vector<std::pair<double, double>> cases{{1.5, 0.3}, {9.99, 0.3}, {10, 0.34},  {30, 0.42},
                                                       {50, 0.5},  {175, 0.6},  {300, 0.7},  {400, 0.75},
                                                       {500, 0.8}, {750, 0.9},  {1000, 1.0}, {5000, 1.0}};
    for (const auto& [lux, factor] : cases) {
        EXPECT_NEAR(AmbientLightSensor::suggestedBrightnessFactor(lux), factor, 1e-12) << lux;
    }
}

TEST(AmbientLightSensorTest, PollingReadsAtOnceThenEveryInterval) {
    FakePlatform fake;
    AmbientLightSensor sensor(fake.ambientLight, fake.runLoop);
    std::vector<double> updates;
    sensor.setOnLuxUpdate([&](double lux) { updates.push_back(lux); });
    EXPECT_TRUE(sensor.connect());
    EXPECT_TRUE(sensor.connect());
    EXPECT_EQ(fake.ambientLight.opens, 1) << "a second connect opens nothing";

    fake.ambientLight.lux = 120;
    sensor.startPolling(30);
    sensor.startPolling(30);
    EXPECT_EQ(fake.runLoop.repeatingCount(), 1u) << "polling twice keeps one timer";
    EXPECT_EQ(updates, (std::vector<double>{120, 120}));
    fake.ambientLight.lux = 400;
    fake.runLoop.advance(30);
    EXPECT_EQ(updates.back(), 400);

    // A failed read keeps the last value and reports nothing.
    fake.ambientLight.lux.reset();
    fake.runLoop.advance(30);
    EXPECT_EQ(updates.size(), 3u);
    EXPECT_EQ(sensor.currentLux(), 400);

    // Without a sensor nothing is polled.
    fake.ambientLight.present = false;
    AmbientLightSensor absent(fake.ambientLight, fake.runLoop);
    EXPECT_FALSE(absent.connect());
    EXPECT_FALSE(absent.isAvailable());
    absent.startPolling(30);
    EXPECT_EQ(fake.runLoop.repeatingCount(), 1u);
}

TEST(LaunchAtLoginTest, ReportsTheRealRegistration) {
    FakePlatform fake;
    LaunchAtLogin::setEnabled(fake.loginItem, true);
    EXPECT_TRUE(LaunchAtLogin::isEnabled(fake.loginItem));
    EXPECT_TRUE(fake.log.lines.empty());

    // A refusal is only logged; the registration stays what it really is.
    fake.loginItem.failure = "Permission denied";
    LaunchAtLogin::setEnabled(fake.loginItem, false);
    EXPECT_TRUE(LaunchAtLogin::isEnabled(fake.loginItem));
    EXPECT_TRUE(fake.log.contains("Launch at login error: Permission denied"));
}

}  // namespace
}  // namespace solvara
