#include <gtest/gtest.h>

#include "app/display/PerDisplaySettings.h"

namespace solvara {
namespace {

TEST(PerDisplaySettings, AbsentOverridesAreLeftOutNeverNull) {
    const auto document = PerDisplaySettings::encodeList({
        {7, "Built-in", true, std::nullopt, std::nullopt},
        {4000000000u, "Side", false, 2700, 0.5},
    });
    ASSERT_TRUE(document.is_array());
    ASSERT_EQ(document.size(), 2u);
    EXPECT_EQ(document[0], (nlohmann::json{{"displayID", 7}, {"displayName", "Built-in"}, {"isEnabled", true}}));
    EXPECT_EQ(document[1]["displayID"], 4000000000u);
    EXPECT_EQ(document[1]["kelvinOverride"], 2700);
    EXPECT_EQ(document[1]["brightnessOverride"], 0.5);
    EXPECT_EQ(PerDisplaySettings::encodeList({}), nlohmann::json::array());

    const auto back = PerDisplaySettings::decodeList(document);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ((*back)[1], (PerDisplaySettings{4000000000u, "Side", false, 2700, 0.5}));
}

TEST(PerDisplaySettings, DecodingIsAllOrNothing) {
    const auto decode = [](const char* text) { return PerDisplaySettings::decodeList(nlohmann::json::parse(text)); };
    // Null overrides count as absent; unknown keys are ignored.
    const auto lenient = decode(R"([{"displayID": 1, "displayName": "A", "isEnabled": true,
                                     "kelvinOverride": null, "brightnessOverride": null, "note": "x"}])");
    ASSERT_TRUE(lenient.has_value());
    EXPECT_FALSE(lenient->front().kelvinOverride.has_value());
    EXPECT_FALSE(lenient->front().brightnessOverride.has_value());

    const char* rejected[] = {
        R"({"displayID": 1, "displayName": "A", "isEnabled": true})",  // not a list
        R"([{"displayID": 1, "displayName": "A", "isEnabled": true}, {"displayID": 2, "displayName": "B"}])",
        R"([{"displayID": -1, "displayName": "A", "isEnabled": true}])",
        R"([{"displayID": 4294967296, "displayName": "A", "isEnabled": true}])",
        R"([{"displayID": 1, "displayName": 5, "isEnabled": true}])",
        R"([{"displayID": 1, "displayName": "A", "isEnabled": 1}])",
        R"([{"displayID": 1, "displayName": "A", "isEnabled": true, "kelvinOverride": "2700"}])",
        R"([{"displayID": 1, "displayName": "A", "isEnabled": true, "brightnessOverride": true}])",
    };
    for (const char* text : rejected) EXPECT_FALSE(decode(text).has_value()) << text;
}

}  // namespace
}  // namespace solvara
