#include "app/services/SoundscapeManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/fake/FakePlatform.h"

namespace solvara {
namespace {

using Group = SoundscapeManager::SoundscapeGroup;
using Theme = SoundscapeManager::SoundscapeTheme;

class SoundscapeManagerTest : public ::testing::Test {
protected:
    // Plays `group` and lets synthesis and the hand-back run; the fade is left to the caller.
    void play(Group group) {
        manager.playGroup(group);
        fake.runLoop.runBackgroundWork();
        fake.runLoop.runPending();
    }
    // Volumes set on `player` since its start, the starting 0 left out.
    static std::vector<float> fadeSteps(const FakePlayerRecord& player) {
        return {player.volumeHistory.begin() + 1, player.volumeHistory.end()};
    }

    FakePlatform fake;
    SoundscapeManager manager{fake.runLoop, fake.audio};
};

TEST_F(SoundscapeManagerTest, FirstLoopFadesInOverOneAndAHalfSecondsInFortySteps) {
    EXPECT_EQ(SoundscapeManager::cacheKey(Theme::ocean, Group::night), "Ocean Waves_night");
    play(Group::dawn);
    ASSERT_EQ(fake.audio.players.size(), 1u);
    const auto& player = *fake.audio.players[0];
    EXPECT_EQ(player.loops, -1);
    EXPECT_TRUE(player.playing);
    EXPECT_EQ(player.volumeHistory, std::vector<float>{0.0f});
    EXPECT_EQ(std::string(player.data.begin(), player.data.begin() + 4), "RIFF");  // the synthesised WAV
    EXPECT_TRUE(manager.isCached(Theme::ocean, Group::dawn));

    fake.runLoop.advance(0.0375 * 40 - 1e-4);  // the virtual clock counts in about 0.1 µs here
    EXPECT_EQ(fadeSteps(player).size(), 39u);
    fake.runLoop.advance(2e-4);
    const std::vector<float> steps = fadeSteps(player);
    ASSERT_EQ(steps.size(), 41u);  // forty steps, then the target once more
    for (std::size_t i = 0; i < 40; ++i) EXPECT_NEAR(steps[i], static_cast<float>(i + 1) / 40 * 0.3f, 1e-6) << i;
    EXPECT_FLOAT_EQ(player.volume, 0.3f);
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
}

TEST_F(SoundscapeManagerTest, NextLoopCrossFadesOverTwoSecondsAndStopSilencesAFadeAtOnce) {
    play(Group::night);
    fake.runLoop.advance(2.0);
    manager.setVolume(0.5f);
    play(Group::dawn);
    ASSERT_EQ(fake.audio.players.size(), 2u);
    const auto& oldPlayer = *fake.audio.players[0];
    const auto& newPlayer = *fake.audio.players[1];

    fake.runLoop.advance(1.0 + 1e-4);  // 20 steps of 50 ms
    EXPECT_EQ(fadeSteps(newPlayer).size(), 20u);
    EXPECT_NEAR(newPlayer.volume, 0.25f, 1e-6);
    EXPECT_NEAR(oldPlayer.volume, 0.25f, 1e-6);
    fake.runLoop.advance(1.0);
    EXPECT_FLOAT_EQ(newPlayer.volume, 0.5f);
    EXPECT_TRUE(oldPlayer.destroyed);
    EXPECT_EQ(manager.fadeOutPlayer(), nullptr);

    play(Group::day);
    fake.runLoop.advance(0.5);
    manager.stop();
    EXPECT_TRUE(fake.audio.playingPlayers().empty());
    EXPECT_EQ(manager.currentPlayer(), nullptr);
    EXPECT_EQ(manager.fadeOutPlayer(), nullptr);
    EXPECT_EQ(manager.currentGroup(), std::nullopt);
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
}

TEST_F(SoundscapeManagerTest, OnlyTheNewestRequestReachesTheSpeakers) {
    fake.runLoop.runsBackgroundInline = false;
    manager.playGroup(Group::night);
    play(Group::day);
    ASSERT_EQ(fake.audio.players.size(), 1u);
    EXPECT_FALSE(manager.isCached(Theme::ocean, Group::night)) << "a superseded result is not cached";
    EXPECT_EQ(manager.currentGroup(), Group::day);

    // A result that arrives after stop() is dropped too, and so is one for a manager gone.
    manager.playGroup(Group::dusk);
    manager.stop();
    auto doomed = std::make_unique<SoundscapeManager>(fake.runLoop, fake.audio);
    doomed->playGroup(Group::dawn);
    doomed.reset();
    fake.runLoop.runBackgroundWork();
    fake.runLoop.runPending();
    EXPECT_EQ(fake.audio.players.size(), 1u);
    EXPECT_FALSE(manager.isCached(Theme::ocean, Group::dusk));
}

TEST_F(SoundscapeManagerTest, StoppedGroupsReplayFromTheCache) {
    play(Group::day);
    manager.stop();
    fake.runLoop.runsBackgroundInline = false;
    manager.playGroup(Group::day);
    EXPECT_EQ(fake.runLoop.pendingBackgroundCount(), 0u) << "no synthesis for a cached loop";
    ASSERT_EQ(fake.audio.players.size(), 2u);
    EXPECT_TRUE(fake.audio.players[1]->playing);

    manager.stop();
    manager.setTheme(Theme::rain);  // another theme is another loop
    manager.playGroup(Group::day);
    EXPECT_EQ(fake.runLoop.pendingBackgroundCount(), 1u);
}

TEST_F(SoundscapeManagerTest, WithoutSoundTheGroupStaysUnsetSoTheNextTickRetries) {
    for (const auto& [device, starts] : {std::pair{false, true}, std::pair{true, false}}) {
        SoundscapeManager silent(fake.runLoop, fake.audio);
        fake.audio.deviceAvailable = device;
        fake.audio.startSucceeds = starts;
        silent.playGroup(Group::night);
        fake.runLoop.runPending();
        EXPECT_EQ(silent.currentGroup(), std::nullopt) << device;
        EXPECT_EQ(silent.currentPlayer(), nullptr);
        EXPECT_EQ(silent.cachedCount(), 1u) << "the synthesised loop is kept for the retry";
    }

    // A loop already playing carries on when its successor cannot start.
    fake.audio.deviceAvailable = true;
    fake.audio.startSucceeds = true;
    play(Group::night);
    fake.audio.deviceAvailable = false;
    play(Group::dawn);
    EXPECT_EQ(manager.currentGroup(), std::nullopt);
    ASSERT_NE(manager.currentPlayer(), nullptr);
    EXPECT_TRUE(manager.currentPlayer()->isPlaying());
}

}  // namespace
}  // namespace solvara
