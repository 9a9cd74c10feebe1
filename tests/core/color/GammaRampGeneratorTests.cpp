#include "core/color/GammaRampGenerator.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include <gtest/gtest.h>

namespace solvara {
namespace {

using Ramp = GammaRampGenerator::GammaRamp;

void expectSameRamp(const Ramp& a, const Ramp& b) {
    EXPECT_EQ(a.red, b.red);
    EXPECT_EQ(a.green, b.green);
    EXPECT_EQ(a.blue, b.blue);
}

bool allZero(const GammaRampGenerator::Channel& channel) {
    for (float value : channel) {
        if (value != 0.0f) return false;
    }
    return true;
}

TEST(GammaRampGenerator, NeutralRampIsTheIdentity) {
    const GammaRampGenerator generator;
    const auto ramp = generator.generateRamp(6600, 1.0);
    for (std::size_t i = 0; i < GammaRampGenerator::size; ++i) {
        const float expected = static_cast<float>(static_cast<double>(i) / 255.0);
        ASSERT_EQ(ramp.red[i], expected) << i;
        ASSERT_EQ(ramp.green[i], expected) << i;
        ASSERT_EQ(ramp.blue[i], expected) << i;
    }
    EXPECT_EQ(ramp.red[0], 0.0f);
    EXPECT_EQ(ramp.red[255], 1.0f);
}

TEST(GammaRampGenerator, WarmRampScalesEachChannelLinearly) {
    const GammaRampGenerator generator;
    const auto rgb = generator.converter.kelvinToRGB(2700);
    const auto ramp = generator.generateRamp(2700, 0.8);
    EXPECT_EQ(ramp.red[255], static_cast<float>(0.8 * rgb.red));
    EXPECT_EQ(ramp.green[255], static_cast<float>(0.8 * rgb.green));
    EXPECT_EQ(ramp.blue[255], static_cast<float>(0.8 * rgb.blue));
    EXPECT_EQ(ramp.green[128], static_cast<float>(0.8 * (rgb.green * (128.0 / 255.0))));
    for (std::size_t i = 1; i < GammaRampGenerator::size; ++i) {
        ASSERT_GT(ramp.red[i], ramp.red[i - 1]) << i;
        ASSERT_GT(ramp.blue[i], ramp.blue[i - 1]) << i;
    }
    // Below 2000 K blue is shut off completely.
    EXPECT_TRUE(allZero(generator.generateRamp(1800, 1.0).blue));
}

TEST(GammaRampGenerator, BrightnessIsClampedAndNaNDarkens) {
    const GammaRampGenerator generator;
    expectSameRamp(generator.generateRamp(4000, 2.0), generator.generateRamp(4000, 1.0));
    expectSameRamp(generator.generateInvertedRamp(4000, 7.5), generator.generateInvertedRamp(4000, 1.0));
    for (double brightness : {-1.0, std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(brightness);
        for (const auto& ramp : {generator.generateRamp(4000, brightness), generator.generateInvertedRamp(4000, brightness),
                                 generator.generateGrayscaleRamp(4000, brightness),
                                 generator.generateRedOnlyRamp(brightness)}) {
            EXPECT_TRUE(allZero(ramp.red));
            EXPECT_TRUE(allZero(ramp.green));
            EXPECT_TRUE(allZero(ramp.blue));
        }
    }
}

TEST(GammaRampGenerator, InvertedRampMirrorsThePlainOne) {
    const GammaRampGenerator generator;
    const auto rgb = generator.converter.kelvinToRGB(3400);
    const auto plain = generator.generateRamp(3400, 0.7);
    const auto inverted = generator.generateInvertedRamp(3400, 0.7);
    EXPECT_EQ(inverted.red[0], static_cast<float>(0.7 * rgb.red));
    EXPECT_EQ(inverted.green[0], static_cast<float>(0.7 * rgb.green));
    EXPECT_EQ(inverted.blue[0], static_cast<float>(0.7 * rgb.blue));
    EXPECT_EQ(inverted.red[255], 0.0f);
    EXPECT_EQ(inverted.green[255], 0.0f);
    EXPECT_EQ(inverted.blue[255], 0.0f);
    for (std::size_t i = 0; i < GammaRampGenerator::size; ++i) {
        ASSERT_EQ(inverted.red[i], plain.red[255 - i]) << i;
        ASSERT_EQ(inverted.blue[i], plain.blue[255 - i]) << i;
    }
}

TEST(GammaRampGenerator, GrayscaleRampUsesRec709Luma) {
    const GammaRampGenerator generator;
    const auto neutral = generator.generateGrayscaleRamp(6600, 1.0);
    EXPECT_EQ(neutral.red[255], 1.0f);  // the weights sum to one
    EXPECT_EQ(neutral.red[0], 0.0f);

    const auto rgb = generator.converter.kelvinToRGB(1800);
    const double luma = 0.2126 * rgb.red + 0.7152 * rgb.green + 0.0722 * rgb.blue;
    const auto warm = generator.generateGrayscaleRamp(1800, 0.5);
    EXPECT_EQ(warm.red, warm.green);
    EXPECT_EQ(warm.red, warm.blue);
    EXPECT_EQ(warm.red[255], static_cast<float>(0.5 * luma));
    EXPECT_NEAR(warm.red[255], 0.5 * (0.2126 + 0.7152 * 0.495639), 1e-6);
}

TEST(GammaRampGenerator, RedOnlyRampLetsOnlyRedThrough) {
    const GammaRampGenerator generator;
    const auto ramp = generator.generateRedOnlyRamp(0.5);
    EXPECT_EQ(ramp.red[255], 0.5f);
    EXPECT_EQ(ramp.red[0], 0.0f);
    EXPECT_EQ(ramp.red[51], static_cast<float>(0.5 * 0.2));
    EXPECT_TRUE(allZero(ramp.green));
    EXPECT_TRUE(allZero(ramp.blue));
}

}  // namespace
}  // namespace solvara
