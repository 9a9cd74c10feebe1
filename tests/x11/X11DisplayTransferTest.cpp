#include "platform/linux/X11DisplayTransfer.h"

#include <array>
#include <cmath>
#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/color/GammaRampGenerator.h"
#include "platform/linux/GammaOwnershipRecord.h"
#include "platform/linux/RandrDisplays.h"
#include "tests/support/LogCapture.h"
#include "tests/x11/SecondClient.h"

namespace solvara {
namespace {

using testing::SecondClient;

const DisplayId display0 = RandrDisplays::displayId({}, "DUMMY0");
const DisplayId display1 = RandrDisplays::displayId({}, "DUMMY1");

// A calibrated-looking starting point (gamma 0.8 on red, a lifted black on blue), so that
// "back to the original" cannot pass by accident with identity.
SecondClient::Tables userCalibration(int size) {
    SecondClient::Tables tables = SecondClient::identity(size);
    for (int i = 0; i < size; ++i) {
        const double x = static_cast<double>(i) / (size - 1);
        tables.red[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(std::lround(std::pow(x, 0.8) * 65535));
        tables.blue[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(std::lround((0.05 + 0.95 * x) * 65535));
    }
    return tables;
}

class X11DisplayTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(client.isOpen());
        ASSERT_TRUE(client.ensureTwoOutputs());
        client.deleteRootProperty(GammaOwnershipRecord::propertyName);
        for (const char* output : {"DUMMY0", "DUMMY1"}) {
            original[output] = userCalibration(client.gammaSize(output));
            ASSERT_TRUE(client.setGamma(output, original[output]));
        }
    }

    void TearDown() override {
        client.ensureTwoOutputs();
    }

    void expectOriginals() {
        EXPECT_EQ(client.gamma("DUMMY0"), original["DUMMY0"]);
        EXPECT_EQ(client.gamma("DUMMY1"), original["DUMMY1"]);
    }

    // Runs the writer program, which writes `kelvin` to every display and then leaves the way
    // `how` says ("exit" returns from main, "kill" dies by SIGKILL); answers its wait status.
    static int runWriter(int kelvin, const char* how) {
        const pid_t child = fork();
        if (child == 0) {
            const std::string k = std::to_string(kelvin);
            execl(SOLVARA_GAMMA_WRITER, SOLVARA_GAMMA_WRITER, k.c_str(), how, static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return status;
    }

    SecondClient client;
    std::map<std::string, SecondClient::Tables> original;
    GammaRampGenerator generator;
};

TEST_F(X11DisplayTransferTest, ListsTheCrtcsOfConnectedOutputsPrimaryFirstWithNameDerivedIds) {
    X11DisplayTransfer transfer;
    ASSERT_TRUE(transfer.isConnected());
    std::array<DisplayId, DisplayTransfer::maxDisplays> ids{};
    ASSERT_EQ(transfer.activeDisplays(ids), 2u);
    EXPECT_EQ(ids[0], display0);
    EXPECT_EQ(ids[1], display1);

    // A buffer shorter than the list gets the first entries only.
    std::array<DisplayId, 1> one{};
    EXPECT_EQ(transfer.activeDisplays(one), 1u);
    EXPECT_EQ(one[0], display0);

    // The same ids from a fresh connection: nothing in them depends on the process.
    X11DisplayTransfer again;
    std::array<DisplayId, DisplayTransfer::maxDisplays> idsAgain{};
    ASSERT_EQ(again.activeDisplays(idsAgain), 2u);
    EXPECT_EQ(idsAgain, ids);
}

TEST_F(X11DisplayTransferTest, WritesReachEveryCrtcAndRestoreBringsBackTheTablesFirstSeen) {
    const auto ramp = generator.generateRamp(3400, 1.0);
    const SecondClient::Tables expected = SecondClient::fromRamp(ramp);
    {
        X11DisplayTransfer transfer;
        std::array<DisplayId, DisplayTransfer::maxDisplays> ids{};
        const std::size_t count = transfer.activeDisplays(ids);
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_TRUE(transfer.setTransferByTable(ids[i], ramp.red, ramp.green, ramp.blue));
        }
        EXPECT_EQ(client.gamma("DUMMY0"), expected);
        EXPECT_EQ(client.gamma("DUMMY1"), expected);
        EXPECT_TRUE(client.rootHasProperty(GammaOwnershipRecord::propertyName));

        transfer.restoreOriginalGamma();
        expectOriginals();
        EXPECT_FALSE(client.rootHasProperty(GammaOwnershipRecord::propertyName));

        // A formula write, and the originals are still those seen first.
        const TransferFormula formula{0.0f, 0.5f, 2.0f, 0.0f, 0.5f, 2.0f, 0.0f, 0.5f, 2.0f};
        for (std::size_t i = 0; i < count; ++i) EXPECT_TRUE(transfer.setTransferByFormula(ids[i], formula));
        const auto curved = client.gamma("DUMMY1");
        ASSERT_TRUE(curved);
        EXPECT_EQ(curved->green[128], std::lround(0.5 * std::pow(128.0 / 255.0, 2.0) * 65535.0));
        EXPECT_EQ(curved->green[255], 32768);
        transfer.restoreOriginalGamma();
        expectOriginals();

        // A batch reaches every display by its end, and marks them ours like single writes.
        {
            WriteBatch batch(transfer);
            for (std::size_t i = 0; i < count; ++i) {
                EXPECT_TRUE(transfer.setTransferByTable(ids[i], ramp.red, ramp.green, ramp.blue));
            }
        }
        EXPECT_EQ(client.gamma("DUMMY0"), expected);
        EXPECT_EQ(client.gamma("DUMMY1"), expected);
        EXPECT_TRUE(client.rootHasProperty(GammaOwnershipRecord::propertyName));
        transfer.restoreOriginalGamma();
        expectOriginals();
    }
    // Restoring twice, and the destructor with nothing left to undo, change nothing.
    expectOriginals();
}

TEST_F(X11DisplayTransferTest, RefusesUnknownDisplaysAndMismatchedChannelsWithOneLogLineEach) {
    testing::LogCapture log;
    X11DisplayTransfer transfer;
    const auto ramp = generator.generateRamp(3400, 1.0);
    const std::array<float, 3> shortChannel{0.0f, 0.5f, 1.0f};
    EXPECT_FALSE(transfer.setTransferByTable(12345, ramp.red, ramp.green, ramp.blue));
    EXPECT_FALSE(transfer.setTransferByTable(12345, ramp.red, ramp.green, ramp.blue));
    EXPECT_FALSE(transfer.setTransferByTable(display0, ramp.red, shortChannel, ramp.blue));
    EXPECT_EQ(log.lines.size(), 2u);
    expectOriginals();
}

TEST_F(X11DisplayTransferTest, AProcessThatExitsLeavesTheOriginalsAndACrashedOnesTablesCountAsIdentity) {
    const auto ramp = generator.generateRamp(3400, 1.0);

    // A normal exit without an explicit restore: the transfer's destructor puts them back.
    int status = runWriter(3400, "exit");
    ASSERT_TRUE(WIFEXITED(status)) << status;
    ASSERT_EQ(WEXITSTATUS(status), 0);
    expectOriginals();

    // Killed while its tables are on: they stay, and so does its mark on the root window.
    status = runWriter(3400, "kill");
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(client.gamma("DUMMY0"), SecondClient::fromRamp(ramp));
    EXPECT_TRUE(client.rootHasProperty(GammaOwnershipRecord::propertyName));

    // The next run must not take those tables for the user's: its restore gives identity.
    {
        X11DisplayTransfer transfer;
        const auto other = generator.generateRamp(5000, 1.0);
        EXPECT_TRUE(transfer.setTransferByTable(display0, other.red, other.green, other.blue));
        EXPECT_TRUE(transfer.setTransferByTable(display1, other.red, other.green, other.blue));
        transfer.restoreOriginalGamma();
    }
    EXPECT_EQ(client.gamma("DUMMY0"), SecondClient::identity(256));
    EXPECT_EQ(client.gamma("DUMMY1"), SecondClient::identity(256));

    // Tables someone else changed after the crash are the user's again.
    status = runWriter(3400, "kill");
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(client.setGamma("DUMMY1", original["DUMMY1"]));
    {
        X11DisplayTransfer transfer;
        EXPECT_TRUE(transfer.setTransferByTable(display1, ramp.red, ramp.green, ramp.blue));
        transfer.restoreOriginalGamma();
    }
    EXPECT_EQ(client.gamma("DUMMY1"), original["DUMMY1"]);
}

TEST_F(X11DisplayTransferTest, AnOutputSwitchedOffMidRunFailsItsWritesWithoutHarm) {
    X11DisplayTransfer transfer;
    const auto ramp = generator.generateRamp(3400, 1.0);
    ASSERT_TRUE(transfer.setTransferByTable(display1, ramp.red, ramp.green, ramp.blue));

    ASSERT_TRUE(SecondClient::switchOutput("DUMMY1", false));
    // The write right after may still find the old CRTC; either way nothing breaks.
    transfer.setTransferByTable(display1, ramp.red, ramp.green, ramp.blue);
    std::array<DisplayId, DisplayTransfer::maxDisplays> ids{};
    ASSERT_EQ(transfer.activeDisplays(ids), 1u);
    EXPECT_EQ(ids[0], display0);
    EXPECT_FALSE(transfer.setTransferByTable(display1, ramp.red, ramp.green, ramp.blue));
    EXPECT_TRUE(transfer.setTransferByTable(display0, ramp.red, ramp.green, ramp.blue));
    transfer.restoreOriginalGamma();  // skips the display that is gone
    EXPECT_EQ(client.gamma("DUMMY0"), original["DUMMY0"]);

    // Back on: listed again under the same id, its first-seen tables still the originals.
    ASSERT_TRUE(SecondClient::switchOutput("DUMMY1", true));
    ASSERT_EQ(transfer.activeDisplays(ids), 2u);
    EXPECT_EQ(ids[1], display1);
    EXPECT_TRUE(transfer.setTransferByTable(display1, ramp.red, ramp.green, ramp.blue));
    EXPECT_EQ(client.gamma("DUMMY1"), SecondClient::fromRamp(ramp));
}

TEST_F(X11DisplayTransferTest, TheMainDisplaySleepsWhileTheServerBlanksIt) {
    X11DisplayTransfer transfer;
    EXPECT_FALSE(transfer.isMainDisplayAsleep());
    client.forceScreenSaver(true);
    EXPECT_TRUE(transfer.isMainDisplayAsleep());
    client.forceScreenSaver(false);
    EXPECT_FALSE(transfer.isMainDisplayAsleep());
}

}  // namespace
}  // namespace solvara
