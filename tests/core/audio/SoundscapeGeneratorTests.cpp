#include "core/audio/SoundscapeGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/audio/SeededRNG.h"
#include "core/foundation/StringHash.h"
#include "tests/support/LogCapture.h"

namespace solvara {
namespace {

using Generator = SoundscapeGenerator;
using Group = Generator::SoundscapeGroup;
using Theme = Generator::SoundscapeTheme;

constexpr double rate = 44100.0;

// Fixes the process's hash key for one test, so buffers are reproducible across runs.
class SoundscapeGeneratorTest : public ::testing::Test {
protected:
    void SetUp() override { StringHash::setKeyForTesting(0x0123456789ABCDEFULL, 0xFEDCBA9876543210ULL); }
};

std::string label(Theme theme, Group group) {
    return std::string(Generator::rawValue(theme)) + "_" + std::string(Generator::rawValue(group));
}

float peakOf(const std::vector<float>& buffer) {
    float peak = 0.0f;
    for (const float sample : buffer) peak = std::max(peak, std::fabs(sample));
    return peak;
}

bool allFinite(const std::vector<float>& buffer) {
    return std::all_of(buffer.begin(), buffer.end(), [](float s) { return std::isfinite(s); });
}

TEST(SeededRNGTest, FollowsPublishedSplitMix64) {
    SeededRNG rng(0);
    EXPECT_EQ(rng.next(), 0xE220A8397B1DCDAFULL);
    EXPECT_EQ(rng.next(), 0x6E789E6AA1B965F4ULL);
    EXPECT_EQ(rng.next(), 0x06C45D188009454FULL);
}

TEST(SoundscapeGeneratorEnumTest, RawValuesAndPhaseGroups) {
    std::string names;
    for (const Theme theme : Generator::allThemes) {
        names += std::string(Generator::rawValue(theme)) + ";";
        EXPECT_EQ(Generator::themeFromRawValue(Generator::rawValue(theme)), theme);
    }
    for (const Group group : Generator::allGroups) {
        names += std::string(Generator::rawValue(group)) + ";";
        EXPECT_EQ(Generator::groupFromRawValue(Generator::rawValue(group)), group);
    }
    EXPECT_EQ(names, "Ocean Waves;Rainfall;Forest;Creek;Wind;Night Crickets;night;dawn;day;dusk;");
    for (const char* text : {"ocean waves", "Ocean", "Ocean Waves ", "Night"}) {
        EXPECT_FALSE(Generator::themeFromRawValue(text) || Generator::groupFromRawValue(text)) << text;
    }

    std::string groups;
    for (const TwilightPhase phase : TwilightPhase::allCases) {
        groups += std::string(Generator::rawValue(Generator::phaseToGroup(phase))) + " ";
    }
    EXPECT_EQ(groups, "night dawn dawn dawn day day day day dusk dusk night ");
}

TEST_F(SoundscapeGeneratorTest, DefaultLoopsAreSilentAtBothEndsAndPeakAt0_7) {
    for (const Theme theme : Generator::allThemes) {
        for (const Group group : Generator::allGroups) {
            const auto buffer = Generator::generateBuffer(theme, group, 8.0, rate);
            SCOPED_TRACE(label(theme, group));
            ASSERT_EQ(buffer.size(), 8u * 44100u);
            EXPECT_EQ(buffer.front(), 0.0f);
            EXPECT_EQ(buffer.back(), 0.0f);
            EXPECT_NEAR(peakOf(buffer), 0.7f, 1e-6f);
            EXPECT_TRUE(allFinite(buffer));
        }
    }
}

// Stateless: calls at the same time on other threads give the same buffers as one after the
// other; another group or another hash key gives another sound (creek, wind and crickets
// differ by group only through the seed).
TEST_F(SoundscapeGeneratorTest, SameKeyGivesSameBufferOnAnyThreadAndAnotherKeyAnother) {
    std::vector<std::vector<float>> sequential, concurrent(Generator::allThemes.size());
    for (const Theme theme : Generator::allThemes) {
        sequential.push_back(Generator::generateBuffer(theme, Group::dusk, 6.0, rate));
    }
    std::vector<std::thread> threads;
    for (std::size_t n = 0; n < concurrent.size(); ++n) {
        threads.emplace_back(
            [&, n] { concurrent[n] = Generator::generateBuffer(Generator::allThemes[n], Group::dusk, 6.0, rate); });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(concurrent, sequential);

    for (std::size_t n = 0; n < sequential.size(); ++n) {
        EXPECT_NE(Generator::generateBuffer(Generator::allThemes[n], Group::dawn, 6.0, rate), sequential[n]) << n;
        StringHash::setKeyForTesting(1, 2);
        EXPECT_NE(Generator::generateBuffer(Generator::allThemes[n], Group::dusk, 6.0, rate), sequential[n]) << n;
        StringHash::setKeyForTesting(0x0123456789ABCDEFULL, 0xFEDCBA9876543210ULL);
    }
}

// FNV-1a over the sample bits: a fingerprint of a whole buffer.
std::uint64_t fingerprint(const std::vector<float>& buffer) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const float sample : buffer) {
        std::uint32_t bits;
        std::memcpy(&bits, &sample, sizeof bits);
        for (int k = 0; k < 4; ++k) {
            hash ^= (bits >> (8 * k)) & 0xFFU;
            hash *= 0x100000001B3ULL;
        }
    }
    return hash;
}

// Locks the synthesis bit for bit for one fixed hash key, so that speed work cannot change the
// sound: the order of the random draws and of the float additions is the sound. Recompute only
// for a deliberate change of sound (the values depend on the C library's sine).
TEST_F(SoundscapeGeneratorTest, FixedKeyFingerprints) {
    const std::vector<std::pair<std::string, std::uint64_t>> expected = {
#include "SoundscapeFingerprints.inc"
    };
    std::vector<std::pair<std::string, std::uint64_t>> actual;
    for (const Theme theme : Generator::allThemes) {
        for (const Group group : Generator::allGroups) {
            actual.emplace_back(label(theme, group), fingerprint(Generator::generateBuffer(theme, group, 8.0, rate)));
        }
        // Another rate and length moves every sample time and event window; the smallest buffer
        // callers may ask for leaves the crickets a window of no length at all.
        for (const auto& [duration, sampleRate] : {std::pair{7.25, 22050.0}, std::pair{5.0, 4410.0}}) {
            actual.emplace_back(label(theme, Group::night) + " " + std::to_string(duration) + " s at " +
                                    std::to_string(static_cast<int>(sampleRate)),
                                fingerprint(Generator::generateBuffer(theme, Group::night, duration, sampleRate)));
        }
    }
    if (actual != expected) {
        std::string lines;
        for (const auto& [name, value] : actual) lines += "    {\"" + name + "\", " + std::to_string(value) + "ULL},\n";
        ADD_FAILURE() << "The sound changed. New SoundscapeFingerprints.inc, if deliberate:\n" << lines;
    }
}

// Wind and ocean draw the same numbers for sample i whatever the length, so a 10-s buffer holds
// the unfaded sound (times its own scale) of every shorter one in its untouched middle, and the
// fade of the shorter one shows as the ratio: gain j / 44100 within min(count / 2, 44100) samples
// of either end, in single precision. A 2-s buffer has its linear one-second fades (0.5 at 22050
// samples from either end); a 1-s buffer a triangle whose ramps meet at 22049 / 44100.
TEST_F(SoundscapeGeneratorTest, FadeGainsFollowTheWholeRate) {
    const auto fadeGain = [](std::int64_t i, std::int64_t count) {
        const std::int64_t j = std::min(i, count - 1 - i);
        return j >= std::min<std::int64_t>(count / 2, 44100) ? 1.0f : static_cast<float>(j) / 44100.0f;
    };
    EXPECT_EQ(fadeGain(22050, 88200), 0.5f);
    EXPECT_EQ(fadeGain(88199 - 22050, 88200), 0.5f);
    EXPECT_EQ(fadeGain(22050, 44100), 22049.0f / 44100.0f);
    for (const Theme theme : {Theme::wind, Theme::ocean}) {
        const auto reference = Generator::generateBuffer(theme, Group::day, 10.0, rate);
        for (const double duration : {1.0, 2.0}) {
            SCOPED_TRACE(std::string(Generator::rawValue(theme)) + " " + std::to_string(duration));
            const auto buffer = Generator::generateBuffer(theme, Group::day, duration, rate);
            const auto count = static_cast<std::int64_t>(buffer.size());
            std::vector<double> expected(buffer.size());
            double expectedPeak = 0.0;
            for (std::int64_t i = 1; i < count; ++i) {
                expected[i] = reference[i] / static_cast<double>(fadeGain(i, 441000)) * fadeGain(i, count);
                expectedPeak = std::max(expectedPeak, std::fabs(expected[i]));
            }
            for (std::int64_t i = 0; i < count; ++i) {
                ASSERT_NEAR(buffer[i], expected[i] * 0.7 / expectedPeak, 2e-6) << "sample " << i;
            }
        }
    }
}

// Buffers shorter than an event window (0.1 s for drops and bubbles, 0.5 s for bird phrases,
// 5 s for crickets) place those events from the first sample and never write outside the
// buffer; the sanitizer build checks the "never". A near-silent buffer is left unscaled.
TEST_F(SoundscapeGeneratorTest, ShortBuffersStayInside) {
    const std::pair<double, double> sizes[] = {
        {0.0, rate},  {0.01, rate}, {0.05, rate}, {0.2, rate},  {0.4, rate},
        {4.99, rate}, {1.0, 100.0}, {3.0, 1.0},   {1e-9, 1e12},
    };
    for (const Theme theme : Generator::allThemes) {
        for (const Group group : Generator::allGroups) {
            for (const auto& [duration, sampleRate] : sizes) {
                SCOPED_TRACE(label(theme, group) + " " + std::to_string(duration) + " s at " +
                             std::to_string(sampleRate));
                const auto buffer = Generator::generateBuffer(theme, group, duration, sampleRate);
                ASSERT_EQ(buffer.size(), static_cast<std::size_t>(duration * sampleRate));
                EXPECT_TRUE(allFinite(buffer));
                EXPECT_TRUE(buffer.size() < 2 || (buffer.front() == 0.0f && buffer.back() == 0.0f));
                const float peak = peakOf(buffer);
                EXPECT_TRUE(peak <= 0.001f || std::fabs(peak - 0.7f) < 1e-6f) << peak;
            }
        }
    }
}

TEST_F(SoundscapeGeneratorTest, SampleCountTruncatesAndRejectsUnusableSizes) {
    EXPECT_EQ(Generator::generateBuffer(Theme::wind, Group::day, 1.0 / 3.0, rate).size(), 14700u);
    EXPECT_EQ(Generator::generateBuffer(Theme::rain, Group::day, 0.99999, 10.0).size(), 9u);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, double> unusable[] = {
        {nan, rate}, {inf, rate}, {-1.0, rate}, {8.0, -44100.0}, {8.0, nan}, {1.0, inf}, {1e300, 1e300},
    };
    for (const auto& [duration, sampleRate] : unusable) {
        testing::LogCapture log;
        EXPECT_TRUE(Generator::generateBuffer(Theme::ocean, Group::day, duration, sampleRate).empty());
        EXPECT_TRUE(log.contains("[SoundscapeGenerator] Cannot synthesise")) << duration << " " << sampleRate;
    }
}

}  // namespace
}  // namespace solvara
