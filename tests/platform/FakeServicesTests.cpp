#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/foundation/Clock.h"
#include "core/foundation/Log.h"
#include "platform/fake/FakePlatform.h"

namespace solvara {
namespace {

TEST(FakeDisplayTransfer, RecordsWritesAndRefusesUnknownDisplaysAndBadSizes) {
    FakeEventLog events;
    FakeDisplayTransfer transfer(&events);
    transfer.displays = {1, 2, 3};
    std::array<DisplayId, 2> two{};
    EXPECT_EQ(transfer.activeDisplays(two), 2u);
    EXPECT_EQ(two[1], 2u);

    auto curve = FakeDisplayTransfer::identity();
    EXPECT_TRUE(transfer.setTransferByTable(1, curve.red, curve.green, curve.blue));
    EXPECT_FALSE(transfer.setTransferByTable(9, curve.red, curve.green, curve.blue));
    std::vector<float> shortTable(10, 0.5f);
    EXPECT_FALSE(transfer.setTransferByTable(2, shortTable, shortTable, shortTable));
    transfer.refusedDisplays = {3};
    EXPECT_FALSE(transfer.setTransferByFormula(3, {}));

    TransferFormula falling{1, 0, 1, 0.5f, 0.5f, 1, 0, 1, 1};
    EXPECT_TRUE(transfer.setTransferByFormula(2, falling));
    EXPECT_FLOAT_EQ(transfer.current(2).red[0], 1.0f);
    EXPECT_FLOAT_EQ(transfer.current(2).red[255], 0.0f);
    EXPECT_FLOAT_EQ(transfer.current(2).green[128], 0.5f);
    EXPECT_EQ(events.events, (std::vector<std::string>{"table 1", "formula 2"}));

    transfer.restoreOriginalGamma();
    EXPECT_EQ(transfer.current(2), FakeDisplayTransfer::identity());
    EXPECT_EQ(transfer.writeCount, 2u);
}

TEST(FakeNightLightClient, CaptureRestoresEverySetting) {
    FakeNightLightClient client;
    client.enabled = true;
    client.currentStrength = 0.35f;
    client.temperature = 3900;
    auto captured = client.captureSettings();
    ASSERT_TRUE(captured);
    client.showTemperature(2000);
    client.setStrength(1.0f, true);
    EXPECT_TRUE(client.restoreSettings(*captured));
    EXPECT_TRUE(client.enabled);
    EXPECT_FLOAT_EQ(client.currentStrength, 0.35f);
    EXPECT_EQ(client.temperature, 3900);
    EXPECT_TRUE(client.followsSchedule);
    EXPECT_FALSE(client.restoreSettings("gnome:1 2 3"));
}

TEST(FakeUserDefaults, TypedValuesAndRefusedNonFiniteNumbers) {
    FakeUserDefaults defaults;
    EXPECT_TRUE(defaults.set("n", std::int64_t{3}));
    EXPECT_TRUE(defaults.set("s", std::string("x")));
    EXPECT_FALSE(defaults.set("d", std::nan("")));
    EXPECT_FALSE(defaults.set("j", nlohmann::json::array({1.0, std::numeric_limits<double>::infinity()})));
    EXPECT_EQ(defaults.integerValue("n"), 3);
    EXPECT_EQ(defaults.realValue("n"), 3.0);
    EXPECT_FALSE(defaults.boolValue("n"));
    EXPECT_FALSE(defaults.contains("d"));
    defaults.remove("s");
    EXPECT_FALSE(defaults.stringValue("s"));

    // A document given as text reads back as the document, and stays the caller's copy no more.
    std::string text = R"([{"a":1}])";
    EXPECT_TRUE(defaults.set("t", UserDefaults::JsonText{text}));
    text = "[2]";
    EXPECT_TRUE(defaults.set("n", UserDefaults::JsonText{text}));  // another type before
    text.clear();
    EXPECT_EQ(defaults.jsonValue("t"), nlohmann::json::parse(R"([{"a":1}])"));
    EXPECT_EQ(defaults.jsonValue("n"), nlohmann::json::array({2}));
    EXPECT_FALSE(defaults.integerValue("n"));
    EXPECT_FALSE(defaults.stringValue("t"));
    EXPECT_TRUE(defaults.set("t", std::int64_t{4}));
    EXPECT_EQ(defaults.jsonValue("t"), std::nullopt);
}

TEST(FakePlatform, RoutesTheLogAndDrivesTheClock) {
    FakePlatform fake(Date(500));
    Log::write("Test", "hello");
    EXPECT_TRUE(fake.log.contains("[Test] hello"));
    fake.runLoop.advance(10);
    EXPECT_EQ(Clock::now(), Date(510));
    Platform p = fake.platform();
    EXPECT_EQ(&p.runLoop, &fake.runLoop);
}

}  // namespace
}  // namespace solvara
