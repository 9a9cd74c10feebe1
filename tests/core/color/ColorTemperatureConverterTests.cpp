#include "core/color/ColorTemperatureConverter.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace solvara {
namespace {

struct KelvinCase {
    std::int64_t kelvin;
    double red;
    double green;
    double blue;
};

TEST(ColorTemperatureConverter, MatchesReferenceGainsAcrossTheRange) {
    const KelvinCase cases[] = {
        {1000, 1.0, 0.266355, 0.0},      {1800, 1.0, 0.495639, 0.0},      {2000, 1.0, 0.536739, 0.054526},
        {2700, 1.0, 0.653804, 0.342767}, {4000, 1.0, 0.807122, 0.651299}, {6500, 1.0, 0.996510, 0.980557},
        {6600, 1.0, 1.0, 1.0},           {6700, 0.997714, 0.975482, 1.0}, {40000, 0.594801, 0.727566, 1.0},
    };
    const ColorTemperatureConverter converter;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kelvin);
        const auto rgb = converter.kelvinToRGB(c.kelvin);
        EXPECT_NEAR(rgb.red, c.red, 5e-7);
        EXPECT_NEAR(rgb.green, c.green, 5e-7);
        EXPECT_NEAR(rgb.blue, c.blue, 5e-7);
    }
}

TEST(ColorTemperatureConverter, ClampsKelvinToTheFittedRange) {
    const ColorTemperatureConverter converter;
    const auto low = converter.kelvinToRGB(1000);
    const auto high = converter.kelvinToRGB(40000);
    for (std::int64_t kelvin : {std::int64_t{0}, std::int64_t{-5}, std::int64_t{999},
                                std::numeric_limits<std::int64_t>::min()}) {
        SCOPED_TRACE(kelvin);
        const auto rgb = converter.kelvinToRGB(kelvin);
        EXPECT_EQ(rgb.red, low.red);
        EXPECT_EQ(rgb.green, low.green);
        EXPECT_EQ(rgb.blue, low.blue);
    }
    for (std::int64_t kelvin : {std::int64_t{40001}, std::int64_t{100000}, std::numeric_limits<std::int64_t>::max()}) {
        SCOPED_TRACE(kelvin);
        const auto rgb = converter.kelvinToRGB(kelvin);
        EXPECT_EQ(rgb.red, high.red);
        EXPECT_EQ(rgb.green, high.green);
        EXPECT_EQ(rgb.blue, high.blue);
    }
}

TEST(ColorTemperatureConverter, BranchEdgesAreExact) {
    const ColorTemperatureConverter converter;
    // 6600 K is the only neutral point: green's formula overshoots there and is clamped.
    const auto neutral = converter.kelvinToRGB(6600);
    EXPECT_EQ(neutral.red, 1.0);
    EXPECT_EQ(neutral.green, 1.0);
    EXPECT_EQ(neutral.blue, 1.0);
    EXPECT_LT(converter.kelvinToRGB(6500).blue, 1.0);

    // 1900 K is still on blue's zero branch; 2000 K is not.
    EXPECT_EQ(converter.kelvinToRGB(1900).blue, 0.0);
    EXPECT_GT(converter.kelvinToRGB(2000).blue, 0.0);
}

TEST(ColorTemperatureConverter, GainsStayWithinUnitRange) {
    const ColorTemperatureConverter converter;
    for (std::int64_t kelvin = 1000; kelvin <= 40000; kelvin += 50) {
        const auto rgb = converter.kelvinToRGB(kelvin);
        ASSERT_TRUE(rgb.red >= 0.0 && rgb.red <= 1.0) << kelvin;
        ASSERT_TRUE(rgb.green >= 0.0 && rgb.green <= 1.0) << kelvin;
        ASSERT_TRUE(rgb.blue >= 0.0 && rgb.blue <= 1.0) << kelvin;
    }
}

}  // namespace
}  // namespace solvara
