#include "app/shell/BreakSoundPlayer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/FakePlatform.h"

namespace solvara {
namespace {

TEST(BreakSoundPlayerTest, EachBreakSoundPlaysItsAlert) {
    FakePlatform fake;
    BreakSoundPlayer player(fake.audio);
    for (auto sound : {BreakSound::chime, BreakSound::bell, BreakSound::bowl, BreakSound::nature, BreakSound::none}) {
        player.play(sound);
    }
    EXPECT_EQ(fake.audio.systemSounds, (std::vector<std::string>{"Glass", "Ping", "Purr", "Breeze"}));
}

}  // namespace
}  // namespace solvara
