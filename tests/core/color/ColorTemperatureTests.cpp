#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "core/color/ColorTemperatureConverter.h"
#include "core/color/GammaRampGenerator.h"

namespace solvara {
namespace {

constexpr auto int64Min = std::numeric_limits<std::int64_t>::min();
constexpr auto int64Max = std::numeric_limits<std::int64_t>::max();

TEST(ColorTemperatureConverter, ReferenceGainsClampsAndBranchEdges) {
    const struct {
        std::int64_t kelvin;
        double red, green, blue;
    } cases[] = {
        {1000, 1.0, 0.266355, 0.0},      {-5, 1.0, 0.266355, 0.0},        {int64Min, 1.0, 0.266355, 0.0},
        {1800, 1.0, 0.495639, 0.0},      {1900, 1.0, 0.516730, 0.0},      {2000, 1.0, 0.536739, 0.054526},
        {2700, 1.0, 0.653804, 0.342767}, {4000, 1.0, 0.807122, 0.651299}, {6500, 1.0, 0.996510, 0.980557},
        {6600, 1.0, 1.0, 1.0},           {6700, 0.997714, 0.975482, 1.0}, {40000, 0.594801, 0.727566, 1.0},
        {100000, 0.594801, 0.727566, 1.0}, {int64Max, 0.594801, 0.727566, 1.0},
    };
    const ColorTemperatureConverter converter;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kelvin);
        const auto rgb = converter.kelvinToRGB(c.kelvin);
        EXPECT_NEAR(rgb.red, c.red, 5e-7);
        EXPECT_NEAR(rgb.green, c.green, 5e-7);
        EXPECT_NEAR(rgb.blue, c.blue, 5e-7);
    }
    // Exact where a branch decides: 6600 K is the only neutral point, 1900 K still has no blue.
    const auto neutral = converter.kelvinToRGB(6600);
    EXPECT_TRUE(neutral.red == 1.0 && neutral.green == 1.0 && neutral.blue == 1.0);
    EXPECT_EQ(converter.kelvinToRGB(1900).blue, 0.0);
    EXPECT_EQ(converter.kelvinToRGB(0).green, converter.kelvinToRGB(1000).green);
}

bool allZero(const GammaRampGenerator::Channel& channel) {
    for (float value : channel) {
        if (value != 0.0f) return false;
    }
    return true;
}

TEST(GammaRampGenerator, PlainRampIsLinearPerChannel) {
    const GammaRampGenerator generator;
    const auto identity = generator.generateRamp(6600, 1.0);
    for (std::size_t i = 0; i < GammaRampGenerator::size; ++i) {
        const float expected = static_cast<float>(static_cast<double>(i) / 255.0);
        ASSERT_TRUE(identity.red[i] == expected && identity.green[i] == expected && identity.blue[i] == expected) << i;
    }
    EXPECT_EQ(identity.red[255], 1.0f);

    const auto rgb = generator.converter.kelvinToRGB(2700);
    const auto warm = generator.generateRamp(2700, 0.8);
    EXPECT_EQ(warm.red[255], static_cast<float>(0.8 * rgb.red));
    EXPECT_EQ(warm.blue[255], static_cast<float>(0.8 * rgb.blue));
    EXPECT_EQ(warm.green[128], static_cast<float>(0.8 * (rgb.green * (128.0 / 255.0))));
    EXPECT_TRUE(allZero(generator.generateRamp(1800, 1.0).blue));
}

TEST(GammaRampGenerator, BrightnessClampsAndNaNDarkens) {
    const GammaRampGenerator generator;
    EXPECT_EQ(generator.generateRamp(4000, 2.0).green, generator.generateRamp(4000, 1.0).green);
    EXPECT_EQ(generator.generateInvertedRamp(4000, 7.5).red, generator.generateInvertedRamp(4000, 1.0).red);
    for (double b : {-1.0, std::numeric_limits<double>::quiet_NaN()}) {
        for (const auto& ramp : {generator.generateRamp(4000, b), generator.generateInvertedRamp(4000, b),
                                 generator.generateGrayscaleRamp(4000, b), generator.generateRedOnlyRamp(b)}) {
            EXPECT_TRUE(allZero(ramp.red) && allZero(ramp.green) && allZero(ramp.blue)) << b;
        }
    }
}

TEST(GammaRampGenerator, InvertedGrayscaleAndRedOnly) {
    const GammaRampGenerator generator;
    const auto rgb = generator.converter.kelvinToRGB(3400);
    const auto plain = generator.generateRamp(3400, 0.7);
    const auto inverted = generator.generateInvertedRamp(3400, 0.7);
    EXPECT_EQ(inverted.green[0], static_cast<float>(0.7 * rgb.green));
    EXPECT_TRUE(inverted.red[255] == 0.0f && inverted.green[255] == 0.0f && inverted.blue[255] == 0.0f);
    for (std::size_t i = 0; i < GammaRampGenerator::size; ++i) {
        ASSERT_TRUE(inverted.red[i] == plain.red[255 - i] && inverted.blue[i] == plain.blue[255 - i]) << i;
    }

    EXPECT_EQ(generator.generateGrayscaleRamp(6600, 1.0).red[255], 1.0f);  // the luma weights sum to one
    const auto warm = generator.converter.kelvinToRGB(1800);
    const auto grey = generator.generateGrayscaleRamp(1800, 0.5);
    EXPECT_TRUE(grey.red == grey.green && grey.red == grey.blue);
    EXPECT_EQ(grey.red[255], static_cast<float>(0.5 * (0.2126 * warm.red + 0.7152 * warm.green + 0.0722 * warm.blue)));
    EXPECT_NEAR(grey.red[255], 0.5 * (0.2126 + 0.7152 * 0.495639), 1e-6);

    const auto red = generator.generateRedOnlyRamp(0.5);
    EXPECT_EQ(red.red[255], 0.5f);
    EXPECT_EQ(red.red[51], static_cast<float>(0.5 * 0.2));
    EXPECT_TRUE(allZero(red.green) && allZero(red.blue));
}

}  // namespace
}  // namespace solvara
