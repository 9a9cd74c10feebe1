#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/linux/AlertSounds.h"
#include "platform/linux/LoopingPcmDevice.h"
#include "platform/linux/WavPcm.h"

namespace solvara {
namespace {

std::vector<std::uint8_t> withChunkBeforeData(std::vector<std::uint8_t> wav) {
    // Insert a "LIST" chunk of odd length (padded) between "fmt " and "data".
    const std::vector<std::uint8_t> list{'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    wav.insert(wav.begin() + 36, list.begin(), list.end());
    return wav;
}

TEST(WavPcmTest, ReadsWhatItWritesAndRefusesTheRest) {
    const std::vector<float> samples{0.0f, 1.0f, -1.0f, 0.5f, 2.0f};
    const std::vector<std::uint8_t> wav = WavPcm::encodeMono(samples, 44100);
    ASSERT_EQ(wav.size(), 44u + 10u);

    for (const auto& file : {wav, withChunkBeforeData(wav)}) {
        const std::optional<WavPcm> pcm = WavPcm::parse(file);
        ASSERT_TRUE(pcm.has_value());
        EXPECT_EQ(pcm->sampleRate, 44100);
        EXPECT_EQ(pcm->channelCount, 1);
        std::vector<std::int16_t> values(pcm->samples.size() / 2);
        std::memcpy(values.data(), pcm->samples.data(), pcm->samples.size());
        EXPECT_EQ(values, (std::vector<std::int16_t>{0, 32767, -32767, 16384, 32767}));
    }

    auto patched = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> copy = wav;
        copy[at] = value;
        return copy;
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
    };
    for (const Case& c : std::vector<Case>{{"empty", {}},
                                           {"not RIFF", patched(0, 'X')},
                                           {"not WAVE", patched(8, 'X')},
                                           {"float format", patched(20, 3)},
                                           {"8-bit", patched(34, 8)},
                                           {"six channels", patched(22, 6)},
                                           {"data before fmt", patched(12, 'x')},
                                           {"truncated data", std::vector<std::uint8_t>(wav.begin(), wav.end() - 3)}}) {
        EXPECT_FALSE(WavPcm::parse(c.file).has_value()) << c.name;
    }
}

TEST(LoopingPcmDeviceTest, RepeatsTheBytesAsOftenAsAsked) {
    auto pcm = std::make_shared<const std::vector<std::uint8_t>>(std::vector<std::uint8_t>{1, 2, 3, 4});
    struct Case {
        int loops;
        std::size_t expectedBytes;  // read in chunks of 3 until nothing comes
    };
    for (const Case& c : std::vector<Case>{{0, 4}, {2, 12}}) {
        LoopingPcmDevice device(pcm, c.loops);
        device.open(QIODevice::ReadOnly);
        std::vector<char> all;
        char buffer[3];
        for (qint64 n; (n = device.read(buffer, 3)) > 0;) all.insert(all.end(), buffer, buffer + n);
        ASSERT_EQ(all.size(), c.expectedBytes) << c.loops;
        // Ran dry, never at its end: see LoopingPcmDevice.h.
        EXPECT_FALSE(device.atEnd()) << c.loops;
        for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i], static_cast<char>(1 + i % 4));
    }

    LoopingPcmDevice endless(pcm, -1);
    endless.open(QIODevice::ReadOnly);
    char big[4001];
    EXPECT_EQ(endless.read(big, sizeof big), static_cast<qint64>(sizeof big));
    EXPECT_EQ(big[4000], 1);
}

TEST(LoopingPcmDeviceTest, ARewindDuringAReadNeverTearsAChunk) {
    // The sound server's thread reads while the main thread rewinds: each chunk read must still
    // be one run through the bytes, wherever it starts.
    auto pcm = std::make_shared<const std::vector<std::uint8_t>>(std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7});
    LoopingPcmDevice device(pcm, -1);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    std::atomic<bool> done = false;
    int tornChunks = 0;
    std::thread reader([&] {
        char chunk[61];
        for (int i = 0; i < 20000; ++i) {
            if (device.read(chunk, sizeof chunk) != static_cast<qint64>(sizeof chunk)) ++tornChunks;
            for (std::size_t j = 1; j < sizeof chunk; ++j) {
                if (chunk[j] != chunk[j - 1] % 7 + 1) ++tornChunks;
            }
        }
        done = true;
    });
    while (!done) device.rewind();
    reader.join();
    EXPECT_EQ(tornChunks, 0);
}

TEST(AlertSoundsTest, EveryNamedSoundIsAPlayableFile) {
    for (const char* name : {"Tink", "Hero", "Glass", "Ping", "Purr", "Breeze"}) {
        const auto wav = AlertSounds::wavData(name);
        ASSERT_TRUE(wav.has_value()) << name;
        const auto pcm = WavPcm::parse(*wav);
        ASSERT_TRUE(pcm.has_value()) << name;
        const std::size_t frames = pcm->samples.size() / 2;
        EXPECT_GT(frames, 4410u) << name;   // longer than 0.1 s
        EXPECT_LT(frames, 88200u) << name;  // shorter than 2 s
        // Audible, and starting from silence (no click).
        std::vector<std::int16_t> values(frames);
        std::memcpy(values.data(), pcm->samples.data(), pcm->samples.size());
        int peak = 0;
        for (std::int16_t v : values) peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GT(peak, 3000) << name;
        EXPECT_LT(std::abs(values[0]), 200) << name;
    }
    EXPECT_FALSE(AlertSounds::wavData("Basso").has_value());
    EXPECT_FALSE(AlertSounds::wavData("glass").has_value());
}

}  // namespace
}  // namespace solvara
