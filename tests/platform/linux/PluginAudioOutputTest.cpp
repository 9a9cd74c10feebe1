#include <gtest/gtest.h>

#include "platform/linux/AlertSounds.h"
#include "platform/linux/PluginAudioOutput.h"
#include "tests/platform/linux/QtTestApplication.h"
#include "tests/support/LogCapture.h"

namespace solvara {
namespace {

// The test program has no solvara-audio.so beside it: nothing plays, nothing crashes, and one
// line says why however often something is asked to play.
TEST(PluginAudioOutputTest, WithoutThePluginNothingPlaysAndOneLineSaysWhy) {
    testing::qtTestApplication();
    testing::LogCapture log;
    PluginAudioOutput audio;
    EXPECT_FALSE(audio.playSystemSound("Tink"));
    EXPECT_EQ(audio.createPlayer(*AlertSounds::wavData("Glass")), nullptr);
    EXPECT_FALSE(audio.playSystemSound("Hero"));
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"[Audio] No solvara-audio.so beside the program: sounds are not played"}));
}

}  // namespace
}  // namespace solvara
