#include "platform/linux/RandrDisplays.h"

#include <array>
#include <string>

#include <gtest/gtest.h>

namespace solvara {
namespace {

TEST(RandrDisplaysTest, IdsHashTheEdidWhenThereIsOneAndTheOutputNameOtherwise) {
    // FNV-1a 32-bit reference values: the ids must never change between versions or runs.
    EXPECT_EQ(RandrDisplays::displayId({}, "a"), 0xe40c292cu);
    EXPECT_EQ(RandrDisplays::displayId({}, "foobar"), 0xbf9cf968u);

    const std::array<unsigned char, 6> edid{0x00, 0xff, 0xff, 0xff, 0xff, 0x00};
    const std::string asText(edid.begin(), edid.end());
    // The monitor keeps its id on another port; the name only counts without an EDID.
    EXPECT_EQ(RandrDisplays::displayId(edid, "DP-1"), RandrDisplays::displayId(edid, "HDMI-2"));
    EXPECT_EQ(RandrDisplays::displayId(edid, "DP-1"), RandrDisplays::displayId({}, asText));
    EXPECT_NE(RandrDisplays::displayId({}, "DP-1"), RandrDisplays::displayId({}, "HDMI-2"));
}

}  // namespace
}  // namespace solvara
