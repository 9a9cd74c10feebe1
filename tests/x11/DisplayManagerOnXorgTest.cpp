#include "app/display/DisplayManager.h"

#include <cmath>

#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"
#include "platform/linux/QtRunLoop.h"
#include "platform/linux/QtScreens.h"
#include "platform/linux/RandrDisplays.h"
#include "platform/linux/X11DisplayTransfer.h"
#include "tests/x11/ScopedCompositor.h"
#include "tests/x11/SecondClient.h"

namespace solvara {
namespace {

using testing::SecondClient;
using testing::waitUntil;

bool withinOneStep(const std::optional<SecondClient::Tables>& actual, const SecondClient::Tables& expected) {
    if (!actual || actual->red.size() != expected.red.size()) return false;
    for (std::size_t i = 0; i < expected.red.size(); ++i) {
        if (std::abs(actual->red[i] - expected.red[i]) > 1 || std::abs(actual->green[i] - expected.green[i]) > 1 ||
            std::abs(actual->blue[i] - expected.blue[i]) > 1) {
            return false;
        }
    }
    return true;
}

// The display manager of the program on the real back ends (run loop, gamma, screens), with
// fakes for the services these paths do not reach.
class DisplayManagerOnXorgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(client.isOpen());
        ASSERT_TRUE(client.ensureTwoOutputs());
        for (const char* output : {"DUMMY0", "DUMMY1"}) {
            original[output] = SecondClient::identity(client.gammaSize(output));
            original[output].red[10] = 1234;  // not quite identity: a restore must bring this back
            ASSERT_TRUE(client.setGamma(output, original[output]));
        }
        fakes.nightLight.available = false;
    }

    void TearDown() override {
        client.ensureTwoOutputs();
    }

    SecondClient client;
    std::map<std::string, SecondClient::Tables> original;
    FakePlatform fakes;
    QtRunLoop runLoop;
    X11DisplayTransfer transfer;
    QtScreens screens;
    Platform platform{
        .runLoop = runLoop,
        .displayTransfer = transfer,
        .screens = screens,
        .processes = fakes.processes,
        .files = fakes.files,
        .nightLight = fakes.nightLight,
        .colorFilter = fakes.colorFilter,
        .userDefaults = fakes.userDefaults,
        .log = fakes.log,
        .workspace = fakes.workspace,
        .globalShortcuts = fakes.globalShortcuts,
        .location = fakes.location,
        .notifications = fakes.notifications,
        .audio = fakes.audio,
        .ambientLight = fakes.ambientLight,
        .loginItem = fakes.loginItem,
    };
    GammaRampGenerator generator;
};

TEST_F(DisplayManagerOnXorgTest, ByTableAndByFormulaEveryCrtcShowsTheRampAndResetBringsBackTheOriginals) {
    DisplayManager manager(platform);
    const SecondClient::Tables expected = SecondClient::fromRamp(generator.generateRamp(3400, 1.0));

    manager.applyColorTemperature(3400, ScreenEffect::none, GammaAPI::byTable);
    EXPECT_EQ(client.gamma("DUMMY0"), expected);
    EXPECT_EQ(client.gamma("DUMMY1"), expected);

    manager.applyColorTemperature(3400, ScreenEffect::none, GammaAPI::byFormula);
    EXPECT_TRUE(withinOneStep(client.gamma("DUMMY0"), expected));
    EXPECT_TRUE(withinOneStep(client.gamma("DUMMY1"), expected));

    manager.resetToDefault();
    EXPECT_EQ(client.gamma("DUMMY0"), original["DUMMY0"]);
    EXPECT_EQ(client.gamma("DUMMY1"), original["DUMMY1"]);
}

TEST_F(DisplayManagerOnXorgTest, PerDisplayRecordsGiveEachCrtcItsOwnRamp) {
    DisplayManager manager(platform);
    const auto detected = manager.detectDisplays();
    ASSERT_EQ(detected.size(), 2u);
    EXPECT_EQ(detected[0].displayName, "DUMMY0");

    PerDisplaySettingsMap records;
    PerDisplaySettings warm = detected[0];
    warm.kelvinOverride = 2700;
    warm.brightnessOverride = 0.8;
    records[warm.displayID] = warm;
    PerDisplaySettings off = detected[1];
    off.isEnabled = false;
    records[off.displayID] = off;

    manager.applyPerDisplayTemperatures(4000, records, ScreenEffect::none, GammaAPI::byTable);
    EXPECT_EQ(client.gamma("DUMMY0"), SecondClient::fromRamp(generator.generateRamp(2700, 0.8)));
    EXPECT_EQ(client.gamma("DUMMY1"), SecondClient::identity(256));

    records.erase(off.displayID);  // no record: the global kelvin at full brightness
    manager.applyPerDisplayTemperatures(4000, records, ScreenEffect::none, GammaAPI::byTable);
    EXPECT_EQ(client.gamma("DUMMY1"), SecondClient::fromRamp(generator.generateRamp(4000, 1.0)));
    manager.resetToDefault();
    EXPECT_EQ(client.gamma("DUMMY1"), original["DUMMY1"]);
}

TEST_F(DisplayManagerOnXorgTest, TheWatchdogUndoesAnotherClientsRampAndSurvivesAnOutputSwitchedOff) {
    DisplayManager manager(platform);
    const SecondClient::Tables expected = SecondClient::fromRamp(generator.generateRamp(3400, 1.0));
    manager.applyColorTemperature(3400, ScreenEffect::none, GammaAPI::byTable);
    ASSERT_TRUE(manager.isGammaWatchdogRunning());

    ASSERT_TRUE(client.setGamma("DUMMY0", SecondClient::identity(256)));
    ASSERT_EQ(client.gamma("DUMMY0"), SecondClient::identity(256));
    EXPECT_TRUE(waitUntil([&] { return client.gamma("DUMMY0") == expected; }));

    ASSERT_TRUE(SecondClient::switchOutput("DUMMY1", false));
    // Two firings with the output gone, each seen undoing the meddling made after the one before;
    // the process must still be here to put the ramp back.
    for (int firing = 0; firing < 2; ++firing) {
        ASSERT_TRUE(client.setGamma("DUMMY0", SecondClient::identity(256)));
        EXPECT_TRUE(waitUntil([&] { return client.gamma("DUMMY0") == expected; })) << firing;
    }

    ASSERT_TRUE(SecondClient::switchOutput("DUMMY1", true));
    EXPECT_TRUE(waitUntil([&] { return client.gamma("DUMMY1") == expected; }));
    manager.resetToDefault();
    EXPECT_EQ(client.gamma("DUMMY0"), original["DUMMY0"]);
}

}  // namespace
}  // namespace solvara
