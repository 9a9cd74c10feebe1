#include <gtest/gtest.h>

#include "app/display/NightShiftManager.h"
#include "helper/NightLightHelper.h"
#include "platform/fake/FakePlatform.h"

namespace solvara {
namespace {

constexpr const char* controlPath = "/run/user/1000/solvara/solvara_ns_target";
constexpr const char* savedStatePath = "/home/user/.local/state/solvara/nightlight-saved-state.json";

class NightLightHelperTest : public ::testing::Test {
protected:
    NightLightHelperTest() {
        fake.nightLight.enabled = false;
        fake.nightLight.temperature = 4200;
    }
    void write(const std::string& content) { fake.files.contents[controlPath] = content; }
    std::vector<std::string> shows() const {
        std::vector<std::string> result;
        for (const auto& c : fake.nightLight.calls) {
            if (c.rfind("show ", 0) == 0) result.push_back(c);
        }
        return result;
    }

    FakePlatform fake;
    NightLightHelper helper{fake.nightLight, fake.files};
};

TEST_F(NightLightHelperTest, FollowsEachNewValueOnce) {
    helper.start();
    helper.poll();  // no file yet: nothing
    write("3400");
    helper.poll();
    helper.poll();
    write("2100");
    helper.poll();
    EXPECT_EQ(shows(), (std::vector<std::string>{"show 3400", "show 2100"}));
    EXPECT_EQ(helper.shownKelvin(), 2100);
    fake.files.contents.erase(controlPath);  // a missing file changes nothing
    helper.poll();
    EXPECT_EQ(helper.shownKelvin(), 2100);
    EXPECT_TRUE(fake.nightLight.enabled);
}

TEST_F(NightLightHelperTest, IgnoresContentThatIsNotAColourTemperature) {
    helper.start();
    write("3400");
    helper.poll();
    for (const char* bad : {"3400\n", "-1", "03400", "abc", "", "1234567"}) {
        write(bad);
        helper.poll();
        helper.poll();
    }
    EXPECT_EQ(shows(), (std::vector<std::string>{"show 3400"}));
    EXPECT_EQ(fake.log.count("Ignoring a control file"), 6u);
    EXPECT_EQ(helper.shownKelvin(), 3400);
}

TEST_F(NightLightHelperTest, ARefusalIsTriedAgainAtEachPollAndSaidOnce) {
    helper.start();
    fake.nightLight.refuseWrites = true;
    write("3400");
    for (int poll = 0; poll < 4; ++poll) helper.poll();
    EXPECT_EQ(shows().size(), 4u);
    EXPECT_EQ(fake.log.count("The desktop refused 3400 K"), 1u);
    fake.nightLight.refuseWrites = false;
    helper.poll();
    EXPECT_EQ(helper.shownKelvin(), 3400);
}

TEST_F(NightLightHelperTest, ZeroPutsBackTheSettingsFoundAtStart) {
    helper.start();
    write("2500");
    helper.poll();
    EXPECT_EQ(fake.nightLight.temperature, 2500);
    write("0");
    helper.poll();
    EXPECT_FALSE(fake.nightLight.enabled);
    EXPECT_EQ(fake.nightLight.temperature, 4200);
    EXPECT_TRUE(fake.nightLight.followsSchedule);
    helper.poll();
    helper.finish();  // nothing changed since: nothing more written
    EXPECT_EQ(fake.nightLight.calls.size(), 2u);
}

TEST_F(NightLightHelperTest, PrefersTheUsersStateSavedOnDisk) {
    // A crashed run left the night light at our 1900 K; the program saved the user's real state.
    fake.nightLight.enabled = true;
    fake.nightLight.temperature = 1900;
    NightShiftManager::NightShiftState users{true, 0.3f, 0, "fake:1 300 3500 1"};
    fake.files.contents[savedStatePath] = *users.encode();
    helper.start();
    write("2000");
    helper.poll();
    helper.finish();
    EXPECT_EQ(fake.nightLight.temperature, 3500);
    EXPECT_FLOAT_EQ(fake.nightLight.currentStrength, 0.3f);
}

TEST_F(NightLightHelperTest, RunStopsWhenToldAndRestores) {
    int polls = 0;
    write("3000");
    int status = helper.run([&] { return polls < 3; }, [&] { ++polls; });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(shows(), (std::vector<std::string>{"show 3000"}));
    EXPECT_FALSE(fake.nightLight.enabled);
    EXPECT_EQ(fake.nightLight.temperature, 4200);
}

TEST_F(NightLightHelperTest, WithoutARuntimeDirectoryItFollowsNothing) {
    fake.files.runtimeDir.reset();
    NightLightHelper lonely(fake.nightLight, fake.files);
    lonely.start();
    write("3000");
    lonely.poll();
    EXPECT_TRUE(shows().empty());
    EXPECT_TRUE(fake.log.contains("No private runtime directory"));
}

}  // namespace
}  // namespace solvara
