#include "platform/linux/SingleInstance.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/platform/linux/QtTestApplication.h"

namespace solvara {
namespace {

namespace fs = std::filesystem;
using Role = SingleInstance::Role;

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::qtTestApplication();
        char pattern[] = "/tmp/solvara-instance.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
    }
    void TearDown() override { fs::remove_all(directory); }

    std::string directory;
};

TEST_F(SingleInstanceTest, TheFirstLaunchIsElectedAndLaterOnesHandOverUntilItEnds) {
    EXPECT_EQ(SingleInstance(std::nullopt).role(), Role::unguarded);

    // Left over by an instance that was killed: no reason to hand over or to fail.
    std::ofstream(directory + "/instance") << "stale";
    auto first = std::make_unique<SingleInstance>(directory);
    ASSERT_EQ(first->role(), Role::elected);
    int requests = 0;
    first->onShowRequest([&] { ++requests; });

    for (int launch = 1; launch <= 2; ++launch) {
        EXPECT_EQ(SingleInstance(directory).role(), Role::handedOver) << launch;
        EXPECT_TRUE(testing::processEventsUntil([&] { return requests == launch; })) << launch;
    }

    first.reset();
    EXPECT_EQ(SingleInstance(directory).role(), Role::elected) << "the lock went with the instance";
}

}  // namespace
}  // namespace solvara
