#include "app/shell/SoundscapeManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/shell/BreakSoundPlayer.h"
#include "platform/fake/FakePlatform.h"

namespace solvara {
namespace {

using Group = SoundscapeManager::SoundscapeGroup;
using Theme = SoundscapeManager::SoundscapeTheme;

class SoundscapeManagerTest : public ::testing::Test {
protected:
    // Plays `group` and lets synthesis, hand-back and the whole fade run.
    void playAndSettle(Group group) {
        manager.playGroup(group);
        fake.runLoop.runBackgroundWork();
        fake.runLoop.runPending();
        fake.runLoop.advance(2.0);
    }

    FakePlatform fake;
    SoundscapeManager manager{fake.runLoop, fake.audio};
};

TEST_F(SoundscapeManagerTest, FirstLoopFadesInOverOneAndAHalfSecondsInFortySteps) {
    EXPECT_EQ(SoundscapeManager::cacheKey(Theme::ocean, Group::night), "Ocean Waves_night");
    EXPECT_EQ(SoundscapeManager::cacheKey(Theme::night, Group::dusk), "Night Crickets_dusk");

    manager.playGroup(Group::dawn);
    fake.runLoop.runPending();
    ASSERT_EQ(fake.audio.players.size(), 1u);
    const auto& player = fake.audio.players[0];
    EXPECT_EQ(player->loops, -1);
    EXPECT_TRUE(player->playing);
    EXPECT_EQ(player->volumeHistory, std::vector<float>{0.0f});
    // The bytes are the synthesiser's WAV file for this theme and group.
    EXPECT_EQ(std::string(player->data.begin(), player->data.begin() + 4), "RIFF");
    EXPECT_EQ(manager.cachedData.count("Ocean Waves_dawn"), 1u);
    EXPECT_EQ(manager.currentGroup, Group::dawn);

    fake.runLoop.advance(0.0375 * 20 + 1e-4);  // the virtual clock counts in about 0.1 µs at this date
    EXPECT_NEAR(player->volume, 0.5f * 0.3f, 1e-6);
    fake.runLoop.advance(0.0375 * 20 + 1e-4);
    ASSERT_EQ(player->volumeHistory.size(), 42u);  // 0, forty steps, then the target once more
    for (std::size_t i = 1; i <= 40; ++i) {
        EXPECT_NEAR(player->volumeHistory[i], static_cast<float>(i) / 40 * 0.3f, 1e-6) << i;
    }
    EXPECT_FLOAT_EQ(player->volume, 0.3f);
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
}

TEST_F(SoundscapeManagerTest, NextLoopCrossFadesOverTwoSeconds) {
    playAndSettle(Group::night);
    manager.targetVolume = 0.5f;
    manager.playGroup(Group::dawn);
    fake.runLoop.runPending();
    ASSERT_EQ(fake.audio.players.size(), 2u);
    const auto oldPlayer = fake.audio.players[0];
    const auto newPlayer = fake.audio.players[1];
    EXPECT_EQ(manager.fadeOutPlayer.get() != nullptr, true);

    fake.runLoop.advance(1.0 + 1e-4);  // 20 steps of 50 ms
    EXPECT_NEAR(newPlayer->volume, 0.25f, 1e-6);
    EXPECT_NEAR(oldPlayer->volume, 0.25f, 1e-6);
    fake.runLoop.advance(1.0);
    EXPECT_FLOAT_EQ(newPlayer->volume, 0.5f);
    EXPECT_FALSE(oldPlayer->playing);
    EXPECT_TRUE(oldPlayer->destroyed);
    EXPECT_EQ(manager.fadeOutPlayer, nullptr);
    EXPECT_EQ(fake.audio.playingPlayers().size(), 1u);
}

TEST_F(SoundscapeManagerTest, OnlyTheNewestRequestReachesTheSpeakers) {
    fake.runLoop.runsBackgroundInline = false;
    manager.playGroup(Group::night);
    manager.playGroup(Group::day);
    EXPECT_EQ(fake.runLoop.pendingBackgroundCount(), 2u);
    fake.runLoop.runBackgroundWork();
    fake.runLoop.runPending();
    ASSERT_EQ(fake.audio.players.size(), 1u);
    EXPECT_EQ(manager.cachedData.count("Ocean Waves_night"), 0u) << "a superseded result is not cached";
    EXPECT_EQ(manager.cachedData.count("Ocean Waves_day"), 1u);

    // A result that arrives after stop() is dropped too.
    manager.playGroup(Group::dusk);
    manager.stop();
    fake.runLoop.runBackgroundWork();
    fake.runLoop.runPending();
    EXPECT_EQ(fake.audio.players.size(), 1u);
    EXPECT_EQ(manager.cachedData.count("Ocean Waves_dusk"), 0u);
    EXPECT_EQ(manager.currentGroup, std::nullopt);
}

TEST_F(SoundscapeManagerTest, StoppedGroupsReplayFromTheCache) {
    playAndSettle(Group::day);
    manager.stop();
    EXPECT_EQ(manager.currentPlayer, nullptr);
    EXPECT_TRUE(fake.audio.playingPlayers().empty());

    fake.runLoop.runsBackgroundInline = false;
    manager.playGroup(Group::day);
    EXPECT_EQ(fake.runLoop.pendingBackgroundCount(), 0u) << "no synthesis for a cached loop";
    ASSERT_EQ(fake.audio.players.size(), 2u);
    EXPECT_EQ(fake.audio.players[1]->data, manager.cachedData.at("Ocean Waves_day"));

    // Another theme is another loop.
    manager.stop();
    manager.currentTheme = Theme::rain;
    manager.playGroup(Group::day);
    EXPECT_EQ(fake.runLoop.pendingBackgroundCount(), 1u);
}

TEST_F(SoundscapeManagerTest, StopDuringAFadeSilencesEverythingAtOnce) {
    playAndSettle(Group::night);
    manager.playGroup(Group::dawn);
    fake.runLoop.runPending();
    fake.runLoop.advance(0.5);
    manager.stop();
    EXPECT_TRUE(fake.audio.playingPlayers().empty());
    EXPECT_EQ(manager.currentPlayer, nullptr);
    EXPECT_EQ(manager.fadeOutPlayer, nullptr);
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
    const std::uint64_t generation = manager.generationID;
    manager.stop();  // harmless when silent
    EXPECT_EQ(manager.generationID, generation + 1);
}

TEST_F(SoundscapeManagerTest, WithoutSoundTheGroupStaysUnsetSoTheNextTickRetries) {
    struct Case {
        bool device;
        bool starts;
    };
    for (const Case& c : std::vector<Case>{{false, true}, {true, false}}) {
        SoundscapeManager silent(fake.runLoop, fake.audio);
        fake.audio.deviceAvailable = c.device;
        fake.audio.startSucceeds = c.starts;
        silent.playGroup(Group::night);
        fake.runLoop.runPending();
        EXPECT_EQ(silent.currentGroup, std::nullopt) << c.device;
        EXPECT_EQ(silent.currentPlayer, nullptr);
        EXPECT_EQ(silent.cachedData.size(), 1u) << "the synthesised loop is kept for the retry";
    }

    // A loop already playing carries on when its successor cannot start.
    fake.audio.deviceAvailable = true;
    fake.audio.startSucceeds = true;
    playAndSettle(Group::night);
    fake.audio.deviceAvailable = false;
    manager.playGroup(Group::dawn);
    fake.runLoop.runPending();
    EXPECT_EQ(manager.currentGroup, std::nullopt);
    ASSERT_NE(manager.currentPlayer, nullptr);
    EXPECT_TRUE(manager.currentPlayer->isPlaying());
}

TEST_F(SoundscapeManagerTest, ResultsForADestroyedManagerAreDropped) {
    fake.runLoop.runsBackgroundInline = false;
    auto doomed = std::make_unique<SoundscapeManager>(fake.runLoop, fake.audio);
    doomed->playGroup(Group::dawn);
    doomed.reset();
    fake.runLoop.runBackgroundWork();
    fake.runLoop.runPending();
    EXPECT_TRUE(fake.audio.players.empty());
}

TEST(BreakSoundPlayerTest, EachBreakSoundPlaysItsAlert) {
    FakePlatform fake;
    BreakSoundPlayer player(fake.audio);
    for (BreakSound sound : {BreakSound::chime, BreakSound::bell, BreakSound::bowl, BreakSound::nature, BreakSound::none}) {
        player.play(sound);
    }
    EXPECT_EQ(fake.audio.systemSounds, (std::vector<std::string>{"Glass", "Ping", "Purr", "Breeze"}));
}

}  // namespace
}  // namespace solvara
