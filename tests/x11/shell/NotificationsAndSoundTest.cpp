#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
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

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
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

using testing::processEventsUntil;
using testing::runTool;

bool soundServerExpected() {
    return std::getenv("SOLVARA_TEST_SINK") != nullptr;
}

std::optional<int> notificationCount(const char* which) {
    const auto out = runTool("dunstctl", {"count", which});
    if (!out) return std::nullopt;
    return std::atoi(out->c_str());
}

// A call to the notification service: it answers calls in the order they came, so once this
// one is answered, every call we sent before has been handled, and its answer delivered.
bool notificationServiceAnswers() {
    return testing::answeredInOrder(
        QDBusConnection::sessionBus(),
        QDBusMessage::createMethodCall("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                       "org.freedesktop.Notifications", "GetServerInformation"));
}

// The loudness of a stretch of what the sink played, in full scale.
struct Level {
    double rms = 0;
    double peak = 0;
};

// What the null sink plays, recorded from its monitor for as long as the recorder lives, read in
// blocks of 50 ms. The tests wait until a stretch of it sounds as they expect, so a sound that
// starts late on a busy machine is still heard, and a wrong one never passes for right.
class SinkRecorder {
public:
    SinkRecorder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "solvara-rec-XXXXXX").string();
        const int fd = mkstemp(pattern.data());
        if (fd < 0) return;
        close(fd);
        file_ = pattern;
        recorder_.start("parecord", {"--device=" + QString(std::getenv("SOLVARA_TEST_SINK")) + ".monitor", "--raw",
                                     "--format=s16le", "--channels=1", "--rate=44100", "--latency-msec=20",
                                     QString::fromStdString(file_)});
        if (!recorder_.waitForStarted(testing::patienceMs)) return;
        // Until the server lists the recording: on a busy machine parecord can take a while.
        listening_ = processEventsUntil([] {
            const auto streams = runTool("pactl", {"list", "short", "source-outputs"});
            return streams && !streams->empty();
        });
    }
    ~SinkRecorder() {
        recorder_.terminate();
        processEventsUntil([&] { return recorder_.state() == QProcess::NotRunning; });
        if (!file_.empty()) std::filesystem::remove(file_);
    }
    SinkRecorder(const SinkRecorder&) = delete;
    SinkRecorder& operator=(const SinkRecorder&) = delete;

    bool listening() const { return listening_; }

    // The blocks recorded so far; a stretch that starts here holds only what comes later.
    std::size_t mark() {
        readNew();
        return blocks_.size();
    }
    // The block `ms` after the last recorded so far: past what the sound server still held.
    std::size_t later(int ms) { return mark() + static_cast<std::size_t>(ms / blockMs); }

    // Waits until a stretch of `ms` recorded from block `from` on satisfies `wanted`; answers the
    // first that does.
    std::optional<Level> waitForStretch(int ms, const std::function<bool(const Level&)>& wanted, std::size_t from = 0) {
        const std::size_t length = static_cast<std::size_t>(std::max(1, ms / blockMs));
        std::optional<Level> found;
        std::size_t next = from;
        processEventsUntil([&] {
            readNew();
            for (; !found && next + length <= blocks_.size(); ++next) {
                Level level;
                double squares = 0;
                for (std::size_t i = next; i < next + length; ++i) {
                    squares += blocks_[i].squares;
                    level.peak = std::max(level.peak, blocks_[i].peak);
                }
                level.rms = std::sqrt(squares / static_cast<double>(length * blockSamples));
                if (wanted(level)) found = level;
            }
            return found.has_value();
        });
        return found;
    }

private:
    static constexpr int blockMs = 50;
    static constexpr std::size_t blockSamples = 44100 * blockMs / 1000;
    struct Block {
        double squares = 0;
        double peak = 0;
    };

    // Takes in the whole blocks written since the last look.
    void readNew() {
        std::ifstream in(file_, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(read_));
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        read_ += bytes.size() - bytes.size() % 2;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            std::int16_t sample = 0;
            std::memcpy(&sample, bytes.data() + i, 2);
            pending_.push_back(sample);
        }
        std::size_t used = 0;
        for (; used + blockSamples <= pending_.size(); used += blockSamples) {
            Block block;
            for (std::size_t i = used; i < used + blockSamples; ++i) {
                const double value = pending_[i] / 32768.0;
                block.squares += value * value;
                block.peak = std::max(block.peak, std::abs(value));
            }
            blocks_.push_back(block);
        }
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
    }

    QProcess recorder_;
    std::string file_;
    bool listening_ = false;
    std::size_t read_ = 0;
    std::vector<std::int16_t> pending_;
    std::vector<Block> blocks_;
};

bool heard(const Level& level) {
    return level.rms > 0.01;
}
bool silent(const Level& level) {
    return level.rms < 0.001;
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

    ASSERT_EQ(notificationCount("displayed"), 0);
    center.add({"sleepAlarm", "Solvara", "1h 30m until bedtime. You'll get ~8h of sleep if you go to bed now."});
    center.add({"seasonalAwareness", "Solvara — Seasonal Update", "Days are getting longer"});
    ASSERT_TRUE(processEventsUntil([] { return notificationCount("displayed") == 2; }));
    // The service's ids have come back, and reached the center.
    ASSERT_TRUE(notificationServiceAnswers());
    testing::settle();
    center.add({"sleepAlarm", "Solvara", "1h until bedtime. You'll get ~8h of sleep if you go to bed now."});
    // Handled by the service, shown already or still waiting for its turn on the screen.
    ASSERT_TRUE(notificationServiceAnswers());
    const auto waiting = notificationCount("waiting");
    const auto displayed = notificationCount("displayed");
    ASSERT_TRUE(waiting && displayed);
    EXPECT_EQ(*waiting + *displayed, 2) << "a second sleep alarm replaces the first";
    runTool("dunstctl", {"close-all"});
}

TEST(SoundX11Test, ALoopPlaysAtItsVolumeOnTheSoundServer) {
    if (!soundServerExpected()) GTEST_SKIP() << "no test sink (run through with-session.sh)";
    SinkRecorder sink;
    ASSERT_TRUE(sink.listening());
    QtAudioOutput audio;
    std::unique_ptr<AudioPlayer> player = audio.createPlayer(tone(0.5));
    ASSERT_NE(player, nullptr);
    player->setNumberOfLoops(-1);
    player->setVolume(1.0f);
    ASSERT_TRUE(player->play());
    // A 0.5 amplitude sine has an RMS of 0.35, loop joins included; a tone heard once, without
    // its loop, would not reach 0.2 over two seconds.
    const auto loud = sink.waitForStretch(2000, [](const Level& level) { return level.rms > 0.2; });
    ASSERT_TRUE(loud) << "the loop was not heard at its level";

    player->setVolume(0.1f);
    // A stretch wholly after the change: its loudest sample well below the loop's at full volume.
    const auto quiet = sink.waitForStretch(
        1000, [&](const Level& level) { return level.peak > 0 && level.peak < loud->peak * 0.5; }, sink.mark());
    ASSERT_TRUE(quiet) << "the loop did not turn down";
    EXPECT_GT(quiet->rms, 0.0);
    EXPECT_LT(quiet->rms, loud->rms * 0.5);

    player->stop();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(sink.waitForStretch(600, silent, sink.mark())) << "the loop did not stop";
}

TEST(SoundX11Test, AlertSoundsAndSoundscapesAreHeard) {
    if (!soundServerExpected()) GTEST_SKIP() << "no test sink (run through with-session.sh)";
    SinkRecorder sink;
    ASSERT_TRUE(sink.listening());
    QtAudioOutput audio;
    const std::size_t beforeAlert = sink.mark();
    ASSERT_TRUE(audio.playSystemSound("Glass"));
    EXPECT_TRUE(sink.waitForStretch(800, heard, beforeAlert));
    EXPECT_FALSE(audio.playSystemSound("Sosumi"));
    // The alert has played out, so what is heard next is the soundscape.
    ASSERT_TRUE(sink.waitForStretch(500, silent, sink.mark()));

    // The soundscape manager on the real run loop: synthesis in the background, then the loop
    // fades in.
    QtRunLoop runLoop;
    SoundscapeManager manager(runLoop, audio);
    manager.playGroup(SoundscapeGenerator::SoundscapeGroup::day);
    ASSERT_TRUE(processEventsUntil([&] { return manager.currentPlayer() != nullptr; }));
    // Heard once the fade has brought it to its level, and not only in what the sink still held
    // then: the loop goes on.
    ASSERT_TRUE(processEventsUntil([&] { return manager.currentPlayer()->volume() == manager.targetVolume(); }));
    EXPECT_TRUE(sink.waitForStretch(1000, heard, sink.later(1000)));
    manager.stop();
}

TEST(SoundX11Test, AlertsBackToBackNeitherCrashNorFallSilent) {
    if (!soundServerExpected()) GTEST_SKIP() << "no test sink (run through with-session.sh)";
    SinkRecorder sink;
    ASSERT_TRUE(sink.listening());
    // Each alert's release timer fires while older players are being destroyed, and Qt's sink
    // runs an event loop inside its destructor: every pruning overlaps another. The alerts come
    // ever further apart, so that each round overlaps the releases differently.
    auto audio = std::make_unique<QtAudioOutput>();
    for (int round = 0; round < 3; ++round) {
        for (const char* name : {"Tink", "Hero", "Glass", "Ping", "Purr", "Breeze"}) {
            ASSERT_TRUE(audio->playSystemSound(name)) << name;
            QElapsedTimer spacing;
            spacing.start();
            processEventsUntil([&] { return spacing.elapsed() >= 40 + 60 * round; });
        }
    }
    // Every alert has played out, so what is heard next is the new one.
    ASSERT_TRUE(sink.waitForStretch(500, silent, sink.mark()));
    const std::size_t before = sink.mark();
    // Under ThreadSanitizer, releasing the eighteen finished players (each sink runs an event
    // loop as it goes) delays the new one by seconds.
    EXPECT_TRUE(audio->playSystemSound("Glass"));
    EXPECT_TRUE(sink.waitForStretch(800, heard, before));
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
    // The player is tried in the same turn that caches the synthesis.
    ASSERT_TRUE(processEventsUntil([&] { return manager.cachedCount() != 0; }));
    EXPECT_EQ(manager.currentGroup(), std::nullopt) << "left unset so the next tick tries again";
    EXPECT_EQ(manager.currentPlayer(), nullptr);
}

}  // namespace
}  // namespace solvara
