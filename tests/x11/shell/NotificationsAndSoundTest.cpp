#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include <QProcess>

#include "app/services/SoundscapeManager.h"
#include "platform/linux/DBusNotificationCenter.h"
#include "platform/linux/QtAudioOutput.h"
#include "platform/linux/QtRunLoop.h"
#include "platform/linux/WavPcm.h"
#include "tests/support/LogCapture.h"
#include "tests/x11/shell/SessionHelpers.h"

namespace solvara {
namespace {

using testing::processEventsFor;
using testing::processEventsUntil;
using testing::runTool;

bool soundServerExpected() {
    return std::getenv("SOLVARA_TEST_SINK") != nullptr;
}

std::optional<int> displayedNotifications() {
    const auto out = runTool("dunstctl", {"count", "displayed"});
    if (!out) return std::nullopt;
    return std::atoi(out->c_str());
}

// What the null sink plays during `ms` while the event loop runs, as 16-bit mono samples;
// `meanwhile` runs once the recorder is listening.
std::vector<std::int16_t> recordSink(int ms, const std::function<void()>& meanwhile = {}) {
    // The first recording of a process can come back silent (seen under ThreadSanitizer's
    // slowdown): one is made and thrown away before any that counts.
    static bool warmedUp = false;
    if (!warmedUp) {
        warmedUp = true;
        recordSink(300);
    }
    const std::string file =
        (std::filesystem::temp_directory_path() / ("solvara-rec-" + std::to_string(getpid()))).string();
    QProcess recorder;
    recorder.start("parecord",
                   {"--device=" + QString(std::getenv("SOLVARA_TEST_SINK")) + ".monitor", "--raw", "--format=s16le",
                    "--channels=1", "--rate=44100", "--latency-msec=20", QString::fromStdString(file)});
    if (!recorder.waitForStarted(5000)) return {};
    // Until the server lists the recording: on a busy machine parecord can take well over the
    // 300 ms that follow.
    processEventsUntil([] {
        const auto streams = runTool("pactl", {"list", "short", "source-outputs"});
        return streams && !streams->empty();
    });
    processEventsFor(300);
    if (meanwhile) meanwhile();
    processEventsFor(ms);
    recorder.terminate();
    processEventsUntil([&] { return recorder.state() == QProcess::NotRunning; });
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(file);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    // An idle null sink may deliver nothing at all.
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

double rms(const std::vector<std::int16_t>& samples) {
    if (samples.empty()) return 0;
    double sum = 0;
    for (std::int16_t s : samples) sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size())) / 32768.0;
}

std::vector<std::uint8_t> tone(double seconds) {
    std::vector<float> samples(static_cast<std::size_t>(seconds * 44100));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = 0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * 440.0 * static_cast<double>(i) / 44100));
    }
    return WavPcm::encodeMono(samples, 44100);
}

TEST(NotificationsX11Test, NotificationsReachTheDesktopAndReplaceTheirNamesake) {
    DBusNotificationCenter center;
    std::optional<bool> granted;
    center.requestAuthorization([&](bool answer) { granted = answer; });
    EXPECT_FALSE(granted.has_value()) << "the answer comes on a later turn of the loop";
    ASSERT_TRUE(processEventsUntil([&] { return granted.has_value(); }));
    ASSERT_TRUE(*granted);

    ASSERT_EQ(displayedNotifications(), 0);
    center.add({"sleepAlarm", "Solvara", "1h 30m until bedtime. You'll get ~8h of sleep if you go to bed now."});
    center.add({"seasonalAwareness", "Solvara — Seasonal Update", "Days are getting longer"});
    ASSERT_TRUE(processEventsUntil([] { return displayedNotifications() == 2; }));
    processEventsFor(200);  // the service's ids come back
    center.add({"sleepAlarm", "Solvara", "1h until bedtime. You'll get ~8h of sleep if you go to bed now."});
    processEventsFor(500);
    EXPECT_EQ(displayedNotifications(), 2) << "a second sleep alarm replaces the first";
    runTool("dunstctl", {"close-all"});
}

TEST(SoundX11Test, ALoopPlaysAtItsVolumeOnTheSoundServer) {
    if (!soundServerExpected()) GTEST_SKIP() << "no test sink (run through with-session.sh)";
    QtAudioOutput audio;
    std::unique_ptr<AudioPlayer> player = audio.createPlayer(tone(0.5));
    ASSERT_NE(player, nullptr);
    player->setNumberOfLoops(-1);
    player->setVolume(1.0f);
    ASSERT_TRUE(player->play());
    processEventsFor(300);
    const double loud = rms(recordSink(1200));
    EXPECT_GT(loud, 0.2) << "a 0.5 amplitude sine has an RMS of 0.35, loop joins included";

    player->setVolume(0.1f);
    processEventsFor(300);
    const double quiet = rms(recordSink(1000));
    EXPECT_GT(quiet, 0.0);
    EXPECT_LT(quiet, loud * 0.5);

    player->stop();
    EXPECT_FALSE(player->isPlaying());
    processEventsFor(300);
    EXPECT_LT(rms(recordSink(600)), 0.01);
}

TEST(SoundX11Test, AlertSoundsAndSoundscapesAreHeard) {
    if (!soundServerExpected()) GTEST_SKIP() << "no test sink (run through with-session.sh)";
    QtAudioOutput audio;
    bool played = false;
    const double alert = rms(recordSink(800, [&] { played = audio.playSystemSound("Glass"); }));
    ASSERT_TRUE(played);
    EXPECT_GT(alert, 0.01);
    EXPECT_FALSE(audio.playSystemSound("Sosumi"));

    // The soundscape manager on the real run loop: synthesis in the background, then the loop
    // fades in.
    QtRunLoop runLoop;
    SoundscapeManager manager(runLoop, audio);
    manager.playGroup(SoundscapeGenerator::SoundscapeGroup::day);
    ASSERT_TRUE(processEventsUntil([&] { return manager.currentPlayer() != nullptr; }, 10000));
    processEventsFor(1600);  // the first fade takes 1.5 s
    EXPECT_GT(rms(recordSink(1000)), 0.01);
    manager.stop();
}

TEST(SoundX11Test, AlertsBackToBackNeitherCrashNorFallSilent) {
    if (!soundServerExpected()) GTEST_SKIP() << "no test sink (run through with-session.sh)";
    // Each alert's release timer fires while older players are being destroyed, and Qt's sink
    // runs an event loop inside its destructor: every pruning overlaps another.
    auto audio = std::make_unique<QtAudioOutput>();
    for (int round = 0; round < 3; ++round) {
        for (const char* name : {"Tink", "Hero", "Glass", "Ping", "Purr", "Breeze"}) {
            ASSERT_TRUE(audio->playSystemSound(name)) << name;
            processEventsFor(40 + 60 * round);
        }
    }
    processEventsFor(3000);
    bool played = false;
    // Long enough to hear the alert on a loaded machine, and under ThreadSanitizer, where
    // releasing the eighteen finished players (each sink runs an event loop as it goes) delays
    // the new one by seconds.
    const double level = rms(recordSink(5000, [&] { played = audio->playSystemSound("Glass"); }));
    EXPECT_TRUE(played);
    EXPECT_GT(level, 0.01);
    audio->playSystemSound("Tink");
    audio.reset();  // with an alert still playing
}

TEST(WithoutSoundTest, NoSoundServerMeansALogLineAndSilence) {
    if (std::getenv("SOLVARA_TEST_NO_SOUND") == nullptr) GTEST_SKIP() << "runs as x11_shell_tests_without_sound";
    solvara::testing::LogCapture log;
    QtAudioOutput audio;
    std::unique_ptr<AudioPlayer> player = audio.createPlayer(tone(0.2));
    if (player) {
        // A device may be listed, but the sink then fails at once and says so.
        player->setNumberOfLoops(-1);
        EXPECT_FALSE(player->play());
        EXPECT_FALSE(player->isPlaying());
    }
    EXPECT_FALSE(audio.playSystemSound("Tink"));
    EXPECT_FALSE(log.lines.empty());

    QtRunLoop runLoop;
    SoundscapeManager manager(runLoop, audio);
    manager.playGroup(SoundscapeGenerator::SoundscapeGroup::night);
    processEventsUntil([&] { return manager.cachedCount() != 0; }, 10000);
    processEventsFor(200);
    EXPECT_EQ(manager.currentGroup(), std::nullopt) << "left unset so the next tick tries again";
    EXPECT_EQ(manager.currentPlayer(), nullptr);
}

}  // namespace
}  // namespace solvara
