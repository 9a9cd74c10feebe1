#include "core/profiles/ActivityProfile.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/profiles/CircadianProfile.h"

namespace solvara {
namespace {

using Behavior = ActivityProfile::Behavior;
using Speed = CircadianProfile::TransitionSpeed;

TEST(ActivityProfile, BehaviorsAndBuiltIns) {
    const std::pair<const char*, const char*> expected[] = {
        {"colorAccurate", "Color Accurate"}, {"cinema", "Cinema"}, {"coding", "Coding"},
        {"reading", "Reading"},              {"normal", "Normal"},
    };
    const auto all = allCases<Behavior>();
    ASSERT_EQ(all.size(), std::size(expected));
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(rawValue(all[i]), expected[i].first);
        EXPECT_EQ(displayName(all[i]), expected[i].second);
        EXPECT_EQ(fromRawValue<Behavior>(expected[i].first), all[i]);
    }
    EXPECT_EQ(fromRawValue<Behavior>("Cinema"), std::nullopt);

    const auto& defaults = ActivityProfile::defaults();
    ASSERT_EQ(defaults.size(), 3u);
    EXPECT_EQ(defaults[0].behavior, Behavior::colorAccurate);
    EXPECT_EQ(defaults[1].behavior, Behavior::cinema);
    EXPECT_EQ(defaults[2].behavior, Behavior::coding);
    for (const auto& profile : defaults) EXPECT_TRUE(profile.isBuiltIn);
    EXPECT_EQ(ActivityProfile::defaults()[1].id, defaults[1].id);  // built once per process
}

TEST(CircadianProfile, DefaultsAndStrictJson) {
    CircadianProfile profile("Night owl", 9, 30, 1, 15);
    EXPECT_TRUE(profile.morningBoostEnabled);
    EXPECT_EQ(profile.minimumKelvin, 1800);
    EXPECT_EQ(profile.maximumKelvin, 6500);
    EXPECT_EQ(profile.transitionSpeed, Speed::normal);

    profile.transitionSpeed = Speed::fast;
    profile.morningBoostEnabled = false;
    const auto json = profile.toJson();
    EXPECT_EQ(json.at("transitionSpeed"), "fast");
    const auto decoded = CircadianProfile::fromJson(json);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->id, profile.id);
    EXPECT_EQ(decoded->sleepMinute, 15);
    EXPECT_FALSE(decoded->morningBoostEnabled);
    EXPECT_EQ(decoded->transitionSpeed, Speed::fast);

    for (const auto& [key, value] : json.items()) {
        auto missing = json;
        missing.erase(key);
        EXPECT_FALSE(CircadianProfile::fromJson(missing)) << "without " << key;
    }
    for (const auto& [key, value] : std::vector<std::pair<std::string, json::Json>>{
             {"transitionSpeed", "Fast"}, {"wakeHour", 7.5}, {"morningBoostEnabled", 1}, {"id", "x"}}) {
        auto bad = json;
        bad[key] = value;
        EXPECT_FALSE(CircadianProfile::fromJson(bad)) << key;
    }
}

}  // namespace
}  // namespace solvara
