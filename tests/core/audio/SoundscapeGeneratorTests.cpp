#include "core/audio/SoundscapeGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
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

using Group = SoundscapeGenerator::SoundscapeGroup;
using Theme = SoundscapeGenerator::SoundscapeTheme;

constexpr double rate = 44100.0;

// Fixes the process's hash key for one test, so buffers are reproducible across runs.
class SoundscapeGeneratorTest : public ::testing::Test {
protected:
    void SetUp() override { StringHash::setKeyForTesting(0x0123456789ABCDEFULL, 0xFEDCBA9876543210ULL); }
};

std::string label(Theme theme, Group group) {
    return std::string(SoundscapeGenerator::rawValue(theme)) + "_" + std::string(SoundscapeGenerator::rawValue(group));
}

float peakOf(const std::vector<float>& buffer) {
    float peak = 0.0f;
    for (const float sample : buffer) peak = std::max(peak, std::fabs(sample));
    return peak;
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

// The fade gain at index i of a buffer of `count` samples at 44100 Hz, as the generator
// computes it in single precision: j / 44100 within min(count / 2, 44100) samples of either end.
float fadeGain(std::int64_t i, std::int64_t count) {
    const std::int64_t fadeLength = std::min<std::int64_t>(count / 2, 44100);
    const std::int64_t j = std::min(i, count - 1 - i);
    if (j >= fadeLength) return 1.0f;
    return static_cast<float>(j) / 44100.0f;
}

TEST(SeededRNGTest, FollowsPublishedSplitMix64) {
    SeededRNG rng(0);
    EXPECT_EQ(rng.next(), 0xE220A8397B1DCDAFULL);
    EXPECT_EQ(rng.next(), 0x6E789E6AA1B965F4ULL);
    EXPECT_EQ(rng.next(), 0x06C45D188009454FULL);

    // uniform() takes the top 53 bits of one draw; noise() maps one uniform draw to [-1, 1).
    SeededRNG a(99);
    SeededRNG b(99);
    const std::uint64_t word = a.next();
    EXPECT_EQ(b.uniform(), static_cast<double>(word >> 11) / 9007199254740992.0);
    const std::uint64_t word2 = a.next();
    EXPECT_EQ(b.noise(), 2.0 * (static_cast<double>(word2 >> 11) / 9007199254740992.0) - 1.0);
    EXPECT_EQ(a.state, b.state);
}

TEST(SoundscapeGeneratorEnumTest, RawValuesMatchWholeTextExactly) {
    const std::vector<std::pair<std::string, std::optional<Theme>>> themes = {
        {"Ocean Waves", Theme::ocean}, {"Rainfall", Theme::rain}, {"Forest", Theme::forest},
        {"Creek", Theme::creek},       {"Wind", Theme::wind},     {"Night Crickets", Theme::night},
        {"ocean waves", std::nullopt}, {"Ocean", std::nullopt},   {"Ocean Waves ", std::nullopt},
        {"ocean", std::nullopt},       {"", std::nullopt},
    };
    for (const auto& [text, expected] : themes) {
        EXPECT_EQ(SoundscapeGenerator::themeFromRawValue(text), expected) << text;
        if (expected) {
            EXPECT_EQ(SoundscapeGenerator::rawValue(*expected), text);
        }
    }
    const std::vector<std::pair<std::string, std::optional<Group>>> groups = {
        {"night", Group::night}, {"dawn", Group::dawn},   {"day", Group::day},
        {"dusk", Group::dusk},   {"Night", std::nullopt}, {"Dusk", std::nullopt},
    };
    for (const auto& [text, expected] : groups) {
        EXPECT_EQ(SoundscapeGenerator::groupFromRawValue(text), expected) << text;
        if (expected) {
            EXPECT_EQ(SoundscapeGenerator::rawValue(*expected), text);
        }
    }
    EXPECT_EQ(SoundscapeGenerator::allThemes.front(), Theme::ocean);
    EXPECT_EQ(SoundscapeGenerator::allThemes.back(), Theme::night);
    EXPECT_EQ(SoundscapeGenerator::allGroups.front(), Group::night);
    EXPECT_EQ(SoundscapeGenerator::allGroups.back(), Group::dusk);
}

TEST(SoundscapeGeneratorEnumTest, PhaseToGroup) {
    const std::vector<std::pair<TwilightPhase, Group>> table = {
        {TwilightPhase::astronomicalNight, Group::night},
        {TwilightPhase::astronomicalTwilight, Group::dawn},
        {TwilightPhase::nauticalTwilight, Group::dawn},
        {TwilightPhase::civilTwilight, Group::dawn},
        {TwilightPhase::goldenHour, Group::day},
        {TwilightPhase::morningRise, Group::day},
        {TwilightPhase::solarNoon, Group::day},
        {TwilightPhase::afternoonDecline, Group::day},
        {TwilightPhase::eveningGoldenHour, Group::dusk},
        {TwilightPhase::eveningTwilight, Group::dusk},
        {TwilightPhase::night, Group::night},
    };
    ASSERT_EQ(table.size(), TwilightPhase::allCases.size());
    for (const auto& [phase, group] : table) {
        EXPECT_EQ(SoundscapeGenerator::phaseToGroup(phase), group) << phase.rawValue();
    }
}

TEST_F(SoundscapeGeneratorTest, DefaultLoopsAreSilentAtBothEndsAndPeakAt0_7) {
    for (const Theme theme : SoundscapeGenerator::allThemes) {
        for (const Group group : SoundscapeGenerator::allGroups) {
            const auto buffer = SoundscapeGenerator::generateBuffer(theme, group, 8.0, rate);
            SCOPED_TRACE(label(theme, group));
            ASSERT_EQ(buffer.size(), 8u * 44100u);
            EXPECT_EQ(buffer.front(), 0.0f);
            EXPECT_EQ(buffer.back(), 0.0f);
            EXPECT_NEAR(peakOf(buffer), 0.7f, 1e-6f);
            EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](float s) { return std::isfinite(s); }));
        }
    }
}

TEST_F(SoundscapeGeneratorTest, SameKeyGivesSameBufferAndAnotherKeyAnother) {
    for (const Theme theme : SoundscapeGenerator::allThemes) {
        SCOPED_TRACE(SoundscapeGenerator::rawValue(theme));
        const auto first = SoundscapeGenerator::generateBuffer(theme, Group::dusk, 8.0, rate);
        const auto second = SoundscapeGenerator::generateBuffer(theme, Group::dusk, 8.0, rate);
        EXPECT_EQ(first, second);
        // Creek, wind and crickets differ by group only through the seed.
        EXPECT_NE(first, SoundscapeGenerator::generateBuffer(theme, Group::dawn, 8.0, rate));

        StringHash::setKeyForTesting(1, 2);
        const auto rekeyed = SoundscapeGenerator::generateBuffer(theme, Group::dusk, 8.0, rate);
        EXPECT_NE(first, rekeyed);
        StringHash::setKeyForTesting(0x0123456789ABCDEFULL, 0xFEDCBA9876543210ULL);
    }
}

// The player synthesises on a background thread while another request may still be running.
TEST_F(SoundscapeGeneratorTest, ConcurrentCallsGiveTheSameBuffers) {
    std::vector<std::vector<float>> sequential;
    for (const Theme theme : SoundscapeGenerator::allThemes) {
        sequential.push_back(SoundscapeGenerator::generateBuffer(theme, Group::night, 6.0, rate));
    }
    std::vector<std::vector<float>> concurrent(sequential.size());
    std::vector<std::thread> threads;
    for (std::size_t n = 0; n < concurrent.size(); ++n) {
        threads.emplace_back([&, n] {
            concurrent[n] =
                SoundscapeGenerator::generateBuffer(SoundscapeGenerator::allThemes[n], Group::night, 6.0, rate);
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(concurrent, sequential);
}

// Locks the synthesis bit for bit for one fixed hash key, so that speed work cannot change the
// sound: the order of the random draws and of the float additions is the sound. Recompute only
// for a deliberate change of sound (the values depend on the C library's sine).
TEST_F(SoundscapeGeneratorTest, FixedKeyFingerprints) {
    const std::vector<std::pair<std::string, std::uint64_t>> expected = {
#include "SoundscapeFingerprints.inc"
    };
    std::vector<std::pair<std::string, std::uint64_t>> actual;
    for (const Theme theme : SoundscapeGenerator::allThemes) {
        for (const Group group : SoundscapeGenerator::allGroups) {
            actual.emplace_back(label(theme, group),
                                fingerprint(SoundscapeGenerator::generateBuffer(theme, group, 8.0, rate)));
        }
        // Other rates and lengths move every sample time and event window; the smallest
        // buffer callers may ask for leaves the crickets a window of no length at all.
        for (const auto& [duration, sampleRate] :
             {std::pair{5.5, 48000.0}, std::pair{7.25, 22050.0}, std::pair{5.0, 4410.0}}) {
            actual.emplace_back(
                label(theme, Group::night) + " " + std::to_string(duration) + " s at " +
                    std::to_string(static_cast<int>(sampleRate)),
                fingerprint(SoundscapeGenerator::generateBuffer(theme, Group::night, duration, sampleRate)));
        }
    }
    if (actual != expected) {
        std::string lines;
        for (const auto& [name, value] : actual) {
            lines += "    {\"" + name + "\", " + std::to_string(value) + "ULL},\n";
        }
        ADD_FAILURE() << "The sound changed. New SoundscapeFingerprints.inc, if deliberate:\n" << lines;
    }
}

// Wind and ocean draw the same numbers for sample i whatever the length, so a 10-s buffer holds
// the unfaded sound (times its own scale) of every shorter one in its untouched middle, and the
// fade of the shorter one shows as the ratio. Covers the linear one-second fades (2 s: gain 0.5
// at 22050 samples from either end) and the triangle of a 1-s buffer whose ramps meet at
// 22049 / 44100.
TEST_F(SoundscapeGeneratorTest, FadeGainsFollowTheWholeRate) {
    for (const Theme theme : {Theme::wind, Theme::ocean}) {
        const auto reference = SoundscapeGenerator::generateBuffer(theme, Group::day, 10.0, rate);
        const auto referenceCount = static_cast<std::int64_t>(reference.size());
        for (const double duration : {1.0, 2.0, 3.0, 8.0}) {
            SCOPED_TRACE(std::string(SoundscapeGenerator::rawValue(theme)) + " " + std::to_string(duration));
            const auto buffer = SoundscapeGenerator::generateBuffer(theme, Group::day, duration, rate);
            const auto count = static_cast<std::int64_t>(buffer.size());
            ASSERT_EQ(count, static_cast<std::int64_t>(duration * rate));

            std::vector<double> expected(buffer.size());
            double expectedPeak = 0.0;
            for (std::int64_t i = 1; i < count; ++i) {
                const double unfaded = reference[i] / static_cast<double>(fadeGain(i, referenceCount));
                expected[i] = unfaded * fadeGain(i, count);
                expectedPeak = std::max(expectedPeak, std::fabs(expected[i]));
            }
            for (std::int64_t i = 0; i < count; ++i) {
                ASSERT_NEAR(buffer[i], expected[i] * 0.7 / expectedPeak, 2e-6) << "sample " << i;
            }
        }
    }
    EXPECT_EQ(fadeGain(22050, 88200), 0.5f);
    EXPECT_EQ(fadeGain(88199 - 22050, 88200), 0.5f);
    EXPECT_EQ(fadeGain(22049, 44100), 22049.0f / 44100.0f);
    EXPECT_EQ(fadeGain(22050, 44100), 22049.0f / 44100.0f);
}

// Buffers shorter than an event window (0.1 s for drops and bubbles, 0.5 s for bird phrases,
// 5 s for crickets) place those events from the first sample and never write outside the
// buffer; the sanitizer build checks the "never".
TEST_F(SoundscapeGeneratorTest, ShortBuffersStayInside) {
    const std::vector<std::pair<double, double>> sizes = {
        {0.0, rate},  {0.01, rate},  {0.05, rate}, {0.2, rate}, {0.4, rate},  {1.0, rate},
        {4.99, rate}, {5.0, 4410.0}, {1.0, 100.0}, {3.0, 1.0},  {1e-9, 1e12},
    };
    for (const Theme theme : SoundscapeGenerator::allThemes) {
        for (const Group group : SoundscapeGenerator::allGroups) {
            for (const auto& [duration, sampleRate] : sizes) {
                SCOPED_TRACE(label(theme, group) + " " + std::to_string(duration) + " s at " +
                             std::to_string(sampleRate));
                const auto buffer = SoundscapeGenerator::generateBuffer(theme, group, duration, sampleRate);
                ASSERT_EQ(buffer.size(), static_cast<std::size_t>(duration * sampleRate));
                EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](float s) { return std::isfinite(s); }));
                if (buffer.size() >= 2) {
                    EXPECT_EQ(buffer.front(), 0.0f);
                    EXPECT_EQ(buffer.back(), 0.0f);
                }
                // A near-silent buffer (events cut away, fades covering it) is left unscaled.
                const float peak = peakOf(buffer);
                EXPECT_TRUE(peak <= 0.001f || std::fabs(peak - 0.7f) < 1e-6f) << peak;
            }
        }
    }
}

TEST_F(SoundscapeGeneratorTest, SampleCountTruncatesAndRejectsUnusableSizes) {
    EXPECT_EQ(SoundscapeGenerator::generateBuffer(Theme::wind, Group::day, 1.0 / 3.0, rate).size(), 14700u);
    EXPECT_EQ(SoundscapeGenerator::generateBuffer(Theme::rain, Group::day, 0.99999, 10.0).size(), 9u);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<double, double>> unusable = {
        {nan, rate}, {inf, rate}, {-1.0, rate}, {8.0, -44100.0}, {8.0, nan}, {1.0, inf}, {1e300, 1e300},
    };
    for (const auto& [duration, sampleRate] : unusable) {
        testing::LogCapture log;
        EXPECT_TRUE(SoundscapeGenerator::generateBuffer(Theme::ocean, Group::day, duration, sampleRate).empty());
        EXPECT_TRUE(log.contains("[SoundscapeGenerator] Cannot synthesise")) << duration << " " << sampleRate;
    }
}

}  // namespace
}  // namespace solvara
