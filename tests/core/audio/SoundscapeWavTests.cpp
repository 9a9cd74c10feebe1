#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
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

std::uint16_t u16At(const Bytes& data, std::size_t offset) {
    return static_cast<std::uint16_t>(data[offset] | data[offset + 1] << 8);
}

std::string tagAt(const Bytes& data, std::size_t offset) {
    return std::string(data.begin() + static_cast<std::ptrdiff_t>(offset),
                       data.begin() + static_cast<std::ptrdiff_t>(offset + 4));
}

std::int16_t sampleAt(const Bytes& data, std::size_t index) {
    return static_cast<std::int16_t>(u16At(data, 44 + 2 * index));
}

// libsndfile reading the bytes in memory through its virtual I/O, as an independent decoder.
class MemoryReader {
public:
    explicit MemoryReader(const Bytes& bytes) : bytes_(bytes) {
        io_.get_filelen = [](void* self) { return static_cast<sf_count_t>(data(self).bytes_.size()); };
        io_.seek = [](sf_count_t offset, int whence, void* self) {
            auto& reader = data(self);
            sf_count_t base = 0;
            if (whence == SEEK_CUR) base = reader.position_;
            if (whence == SEEK_END) base = static_cast<sf_count_t>(reader.bytes_.size());
            reader.position_ = std::clamp<sf_count_t>(base + offset, 0, static_cast<sf_count_t>(reader.bytes_.size()));
            return reader.position_;
        };
        io_.read = [](void* destination, sf_count_t count, void* self) {
            auto& reader = data(self);
            const sf_count_t available = static_cast<sf_count_t>(reader.bytes_.size()) - reader.position_;
            const sf_count_t n = std::min(count, available);
            std::memcpy(destination, reader.bytes_.data() + reader.position_, static_cast<std::size_t>(n));
            reader.position_ += n;
            return n;
        };
        io_.write = [](const void*, sf_count_t, void*) { return sf_count_t{0}; };
        io_.tell = [](void* self) { return data(self).position_; };
        file_ = sf_open_virtual(&io_, SFM_READ, &info_, this);
    }
    ~MemoryReader() {
        if (file_) sf_close(file_);
    }
    MemoryReader(const MemoryReader&) = delete;
    MemoryReader& operator=(const MemoryReader&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    const SF_INFO& info() const { return info_; }

    std::vector<short> readAll() {
        std::vector<short> samples(static_cast<std::size_t>(info_.frames * info_.channels));
        samples.resize(
            static_cast<std::size_t>(sf_read_short(file_, samples.data(), static_cast<sf_count_t>(samples.size()))));
        return samples;
    }

private:
    static MemoryReader& data(void* self) { return *static_cast<MemoryReader*>(self); }

    const Bytes& bytes_;
    sf_count_t position_ = 0;
    SF_VIRTUAL_IO io_{};
    SF_INFO info_{};
    SNDFILE* file_ = nullptr;
};

TEST(SoundscapeWavTest, EmptyBufferIsTheBareHeader) {
    const Bytes data = SoundscapeGenerator::wavData({}, 44100);
    const Bytes expected = {'R',  'I', 'F', 'F', 36, 0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
                            ' ',  16,  0,   0,   0,  1, 0,   1,   0,   0x44, 0xAC, 0,   0,   0x88, 0x58,
                            0x01, 0,   2,   0,   16, 0, 'd', 'a', 't', 'a',  0,    0,   0,   0};
    EXPECT_EQ(data, expected);
}

TEST(SoundscapeWavTest, SamplesScaleBy32767AndTruncate) {
    const std::vector<std::pair<float, std::int16_t>> table = {
        {0.0f, 0},
        {0.5f, 16383},
        {-0.5f, -16383},
        {1.0f, 32767},
        {1.5f, 32767},
        {-1.0f, -32767},
        {-2.0f, -32767},
        {0.99999f, 32766},
        {-0.99999f, -32766},
        {0.7f, 22936},
        {1e-5f, 0},
        {-1e-5f, 0},
        {std::numeric_limits<float>::quiet_NaN(), 32767},
        {std::numeric_limits<float>::infinity(), 32767},
        {-std::numeric_limits<float>::infinity(), -32767},
    };
    std::vector<float> samples(table.size());
    std::transform(table.begin(), table.end(), samples.begin(), [](const auto& entry) { return entry.first; });
    const Bytes data = SoundscapeGenerator::wavData(samples, 8000);
    ASSERT_EQ(data.size(), 44 + 2 * table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(sampleAt(data, i), table[i].second) << "sample " << table[i].first;
    }
}

TEST(SoundscapeWavTest, DefaultLoopDecodesWithLibsndfile) {
    StringHash::setKeyForTesting(7, 11);
    const auto buffer = SoundscapeGenerator::generateBuffer(SoundscapeGenerator::SoundscapeTheme::creek,
                                                            SoundscapeGenerator::SoundscapeGroup::dawn, 8.0, 44100.0);
    const Bytes data = SoundscapeGenerator::wavData(buffer, 44100);
    const std::uint32_t n = 8 * 44100;

    ASSERT_EQ(data.size(), 44u + 2u * n);
    EXPECT_EQ(tagAt(data, 0), "RIFF");
    EXPECT_EQ(u32At(data, 4), 36u + 2u * n);
    EXPECT_EQ(tagAt(data, 8), "WAVE");
    EXPECT_EQ(tagAt(data, 12), "fmt ");
    EXPECT_EQ(u32At(data, 16), 16u);
    EXPECT_EQ(u16At(data, 20), 1u);
    EXPECT_EQ(u16At(data, 22), 1u);
    EXPECT_EQ(u32At(data, 24), 44100u);
    EXPECT_EQ(u32At(data, 28), 88200u);
    EXPECT_EQ(u16At(data, 32), 2u);
    EXPECT_EQ(u16At(data, 34), 16u);
    EXPECT_EQ(tagAt(data, 36), "data");
    EXPECT_EQ(u32At(data, 40), 2u * n);

    MemoryReader reader(data);
    ASSERT_TRUE(reader.isOpen()) << sf_strerror(nullptr);
    EXPECT_EQ(reader.info().format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(reader.info().samplerate, 44100);
    EXPECT_EQ(reader.info().channels, 1);
    EXPECT_EQ(reader.info().frames, n);
    const std::vector<short> decoded = reader.readAll();
    ASSERT_EQ(decoded.size(), n);
    short peak = 0;
    for (std::size_t i = 0; i < n; ++i) {
        ASSERT_EQ(decoded[i], static_cast<short>(buffer[i] * 32767.0f)) << "sample " << i;
        peak = std::max<short>(peak, static_cast<short>(std::abs(decoded[i])));
    }
    EXPECT_EQ(decoded.front(), 0);
    EXPECT_EQ(decoded.back(), 0);
    EXPECT_NEAR(peak, 22936, 1);  // 0.7 of full scale
}

TEST(SoundscapeWavTest, OtherRatesDecodeToo) {
    for (const std::int64_t rate : {1, 8000, 22050, 48000, 2147483647}) {
        const std::vector<float> samples = {0.0f, 0.25f, -0.25f, 0.0f};
        const Bytes data = SoundscapeGenerator::wavData(samples, rate);
        EXPECT_EQ(u32At(data, 24), static_cast<std::uint32_t>(rate));
        EXPECT_EQ(u32At(data, 28), static_cast<std::uint32_t>(rate) * 2u);
        MemoryReader reader(data);
        ASSERT_TRUE(reader.isOpen()) << rate;
        EXPECT_EQ(reader.info().samplerate, rate);
        EXPECT_EQ(reader.readAll(), (std::vector<short>{0, 8191, -8191, 0}));
    }
}

TEST(SoundscapeWavTest, RateOutsideTheHeaderGivesNoData) {
    for (const std::int64_t rate : {std::int64_t{-1}, std::int64_t{2147483648}}) {
        testing::LogCapture log;
        EXPECT_TRUE(SoundscapeGenerator::wavData(std::vector<float>{0.5f}, rate).empty());
        EXPECT_TRUE(log.contains("[SoundscapeGenerator] Cannot encode")) << rate;
    }
}

}  // namespace
}  // namespace solvara
