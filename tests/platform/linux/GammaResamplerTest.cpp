#include "platform/linux/GammaResampler.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace solvara {
namespace {

std::vector<float> linearRamp(std::size_t size, float top) {
    std::vector<float> ramp(size);
    for (std::size_t i = 0; i < size; ++i) ramp[i] = top * static_cast<float>(i) / static_cast<float>(size - 1);
    return ramp;
}

TEST(GammaResamplerTest, ARampOfTheTablesOwnLengthIsCopiedLevelForLevel) {
    const std::vector<float> ramp = linearRamp(256, 0.7f);
    std::vector<std::uint16_t> table(256);
    GammaResampler::resample(ramp, table);
    for (std::size_t i = 0; i < 256; ++i) {
        ASSERT_EQ(table[i], std::lround(static_cast<double>(ramp[i]) * 65535.0)) << i;
    }
}

TEST(GammaResamplerTest, LongerTablesInterpolateBetweenTheRampsEntriesAndKeepItsEnds) {
    // 256 entries onto 1024: entry j stands for ramp position j * 255 / 1023.
    const std::vector<float> ramp = linearRamp(256, 0.5f);
    for (std::size_t size : {1024u, 4096u, 2048u}) {
        std::vector<std::uint16_t> table(size);
        GammaResampler::resample(ramp, table);
        EXPECT_EQ(table.front(), 0u);
        EXPECT_EQ(table.back(), 32768u) << size;  // 0.5 of full scale, rounded
        for (std::size_t j = 0; j < size; ++j) {
            const double expected = 0.5 * static_cast<double>(j) / static_cast<double>(size - 1) * 65535.0;
            ASSERT_NEAR(table[j], expected, 1.0) << size << " entry " << j;
        }
    }
    // A bend in the ramp is kept, not smoothed away.
    const std::vector<float> bend{0.0f, 1.0f, 0.0f};
    std::vector<std::uint16_t> five(5);
    GammaResampler::resample(bend, five);
    EXPECT_EQ(five, (std::vector<std::uint16_t>{0, 32768, 65535, 32768, 0}));
}

TEST(GammaResamplerTest, OutOfRangeAndMissingLevelsFallBackSafely) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> hostile{-0.5f, nan, 1.5f, std::numeric_limits<float>::infinity()};
    std::vector<std::uint16_t> table(4);
    GammaResampler::resample(hostile, table);
    EXPECT_EQ(table, (std::vector<std::uint16_t>{0, 0, 65535, 65535}));

    std::vector<std::uint16_t> identity(3);
    GammaResampler::resample(std::vector<float>{}, identity);
    EXPECT_EQ(identity, (std::vector<std::uint16_t>{0, 32768, 65535}));

    std::vector<std::uint16_t> flat(4);
    GammaResampler::resample(std::vector<float>{0.25f}, flat);
    EXPECT_EQ(flat, std::vector<std::uint16_t>(4, 16384));
}

TEST(GammaResamplerTest, IdentityMatchesTheServersOwnDefaultTables) {
    std::vector<std::uint16_t> table256(256);
    GammaResampler::identity(table256);
    for (std::size_t i = 0; i < 256; ++i) ASSERT_EQ(table256[i], i * 257) << i;
    std::vector<std::uint16_t> table1024(1024);
    GammaResampler::identity(table1024);
    EXPECT_EQ(table1024.front(), 0u);
    EXPECT_EQ(table1024[341], 21845u);  // 1/3 of full scale
    EXPECT_EQ(table1024.back(), 65535u);
}

TEST(GammaResamplerTest, FormulasAreEvaluatedAtTheTablesResolution) {
    struct Case {
        double minimum, maximum, gamma;
        std::size_t index;
        double expected;  // fraction of full scale at entry `index` of a 1024-entry table
    };
    const Case cases[] = {
        {0.0, 0.8, 1.0, 1023, 0.8},
        {0.0, 0.8, 1.0, 0, 0.0},
        {1.0, 0.0, 1.0, 0, 1.0},  // inverted: falls from the minimum to the maximum
        {1.0, 0.0, 1.0, 1023, 0.0},
        {0.0, 1.0, 2.0, 512, std::pow(512.0 / 1023.0, 2.0)},
        {0.1, 0.9, 1.0, 512, 0.1 + 0.8 * 512.0 / 1023.0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint16_t> table(1024);
        GammaResampler::evaluateFormula(c.minimum, c.maximum, c.gamma, table);
        EXPECT_NEAR(table[c.index], c.expected * 65535.0, 0.5)
            << c.minimum << ".." << c.maximum << " ^" << c.gamma << " at " << c.index;
    }
}

TEST(GammaResamplerTest, SavedTablesFollowAChangeOfGammaSize) {
    const std::vector<std::uint16_t> saved{0, 30000, 65535};
    std::vector<std::uint16_t> bigger(5);
    GammaResampler::resample(std::span<const std::uint16_t>(saved), bigger);
    EXPECT_EQ(bigger, (std::vector<std::uint16_t>{0, 15000, 30000, 47768, 65535}));
}

}  // namespace
}  // namespace solvara
