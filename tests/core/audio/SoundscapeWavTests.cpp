#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <sndfile.h>

#include "core/audio/SoundscapeGenerator.h"
#include "core/foundation/StringHash.h"
#include "tests/support/LogCapture.h"

namespace solvara {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t u32At(const Bytes& data, std::size_t offset) {
    return static_cast<std::uint32_t>(data[offset]) | static_cast<std::uint32_t>(data[offset + 1]) << 8 |
           static_cast<std::uint32_t>(data[offset + 2]) << 16 | static_cast<std::uint32_t>(data[offset + 3]) << 24;
}

std::int16_t sampleAt(const Bytes& data, std::size_t index) {
    return static_cast<std::int16_t>(data[44 + 2 * index] | data[45 + 2 * index] << 8);
}

// libsndfile reading the bytes back from a temporary file, as an independent decoder.
struct Decoded {
    SF_INFO info{};
    std::vector<short> samples;
};

std::optional<Decoded> decode(const Bytes& bytes) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return std::nullopt;
    std::rewind(file.get());
    Decoded decoded;
    SNDFILE* sound = sf_open_fd(fileno(file.get()), SFM_READ, &decoded.info, SF_FALSE);
    if (!sound) return std::nullopt;
    decoded.samples.resize(static_cast<std::size_t>(decoded.info.frames * decoded.info.channels));
    decoded.samples.resize(static_cast<std::size_t>(
        sf_read_short(sound, decoded.samples.data(), static_cast<sf_count_t>(decoded.samples.size()))));
    sf_close(sound);
    return decoded;
}

TEST(SoundscapeWavTest, EmptyBufferIsTheBareHeader) {
    const Bytes expected = {'R',  'I', 'F', 'F', 36, 0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
                            ' ',  16,  0,   0,   0,  1, 0,   1,   0,   0x44, 0xAC, 0,   0,   0x88, 0x58,
                            0x01, 0,   2,   0,   16, 0, 'd', 'a', 't', 'a',  0,    0,   0,   0};
    EXPECT_EQ(SoundscapeGenerator::wavData({}, 44100), expected);
}

// Scaled by 32767 and truncated toward zero; beyond full scale (NaN too) it saturates.
TEST(SoundscapeWavTest, SamplesScaleBy32767AndTruncate) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, std::int16_t> table[] = {
        {0.5f, 16383},       {-0.5f, -16383}, {1.0f, 32767}, {1.5f, 32767}, {-2.0f, -32767}, {0.99999f, 32766},
        {-0.99999f, -32766}, {0.7f, 22936},   {-1e-5f, 0},   {nan, 32767},  {-inf, -32767},
    };
    std::vector<float> samples;
    for (const auto& entry : table) samples.push_back(entry.first);
    const Bytes data = SoundscapeGenerator::wavData(samples, 8000);
    ASSERT_EQ(data.size(), 44 + 2 * std::size(table));
    for (std::size_t i = 0; i < std::size(table); ++i) EXPECT_EQ(sampleAt(data, i), table[i].second) << table[i].first;
}

TEST(SoundscapeWavTest, DefaultLoopDecodesWithLibsndfile) {
    StringHash::setKeyForTesting(7, 11);
    const auto buffer = SoundscapeGenerator::generateBuffer(SoundscapeGenerator::SoundscapeTheme::creek,
                                                            SoundscapeGenerator::SoundscapeGroup::dawn, 8.0, 44100.0);
    const Bytes data = SoundscapeGenerator::wavData(buffer, 44100);
    const std::uint32_t n = 8 * 44100;
    ASSERT_EQ(data.size(), 44u + 2u * n);
    EXPECT_EQ(u32At(data, 4), 36u + 2u * n);
    EXPECT_EQ(u32At(data, 40), 2u * n);

    const auto decoded = decode(data);
    ASSERT_TRUE(decoded) << sf_strerror(nullptr);
    EXPECT_EQ(decoded->info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(decoded->info.samplerate, 44100);
    EXPECT_EQ(decoded->info.channels, 1);
    EXPECT_EQ(decoded->info.frames, n);
    ASSERT_EQ(decoded->samples.size(), n);
    short peak = 0;
    for (std::size_t i = 0; i < n; ++i) {
        ASSERT_EQ(decoded->samples[i], static_cast<short>(buffer[i] * 32767.0f)) << "sample " << i;
        peak = std::max<short>(peak, static_cast<short>(std::abs(decoded->samples[i])));
    }
    EXPECT_EQ(decoded->samples.front(), 0);
    EXPECT_EQ(decoded->samples.back(), 0);
    EXPECT_NEAR(peak, 22936, 1);  // 0.7 of full scale
}

TEST(SoundscapeWavTest, OtherRatesDecodeToo) {
    for (const std::int64_t rate : {1, 8000, 22050, 48000, 2147483647}) {
        const Bytes data = SoundscapeGenerator::wavData(std::vector<float>{0.0f, 0.25f, -0.25f, 0.0f}, rate);
        EXPECT_EQ(u32At(data, 28), static_cast<std::uint32_t>(rate) * 2u);  // bytes per second
        const auto decoded = decode(data);
        ASSERT_TRUE(decoded) << rate;
        EXPECT_EQ(decoded->info.samplerate, rate);
        EXPECT_EQ(decoded->samples, (std::vector<short>{0, 8191, -8191, 0}));
    }
    for (const std::int64_t rate : {std::int64_t{-1}, std::int64_t{2147483648}}) {
        testing::LogCapture log;
        EXPECT_TRUE(SoundscapeGenerator::wavData(std::vector<float>{0.5f}, rate).empty());
        EXPECT_TRUE(log.contains("[SoundscapeGenerator] Cannot encode")) << rate;
    }
}

}  // namespace
}  // namespace solvara
