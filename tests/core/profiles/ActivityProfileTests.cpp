#include "core/profiles/ActivityProfile.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/profiles/CircadianProfile.h"

namespace solvara {
namespace {

using Behavior = ActivityProfile::Behavior;
using Speed = CircadianProfile::TransitionSpeed;

TEST(ActivityProfile, BehaviorRawValuesAndNames) {
    const struct {
        Behavior behavior;
        const char* raw;
        const char* name;
    } cases[] = {
        {Behavior::colorAccurate, "colorAccurate", "Color Accurate"},
        {Behavior::cinema, "cinema", "Cinema"},
        {Behavior::coding, "coding", "Coding"},
        {Behavior::reading, "reading", "Reading"},
        {Behavior::normal, "normal", "Normal"},
    };
    const auto all = allCases<Behavior>();
    ASSERT_EQ(all.size(), std::size(cases));
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i], cases[i].behavior);
        EXPECT_EQ(rawValue(cases[i].behavior), cases[i].raw);
        EXPECT_EQ(displayName(cases[i].behavior), cases[i].name);
        EXPECT_EQ(fromRawValue<Behavior>(cases[i].raw), cases[i].behavior);
    }
    EXPECT_EQ(fromRawValue<Behavior>("Cinema"), std::nullopt);
    EXPECT_EQ(fromRawValue<Behavior>("Color Accurate"), std::nullopt);
    EXPECT_EQ(fromRawValue<Behavior>(""), std::nullopt);
}

TEST(ActivityProfile, DefaultsAreThreeFixedBuiltIns) {
    const auto& defaults = ActivityProfile::defaults();
    ASSERT_EQ(defaults.size(), 3u);
    EXPECT_EQ(defaults[0].name, "Color Accurate");
    EXPECT_EQ(defaults[0].behavior, Behavior::colorAccurate);
    EXPECT_EQ(defaults[0].bundleIdentifiers,
              (std::vector<std::string>{"com.adobe.Photoshop", "com.adobe.Lightroom", "com.bohemiancoding.sketch3",
                                        "com.figma.Desktop", "com.blackmagic-design.DaVinciResolve",
                                        "com.apple.FinalCut"}));
    EXPECT_EQ(defaults[1].name, "Cinema");
    EXPECT_EQ(defaults[1].behavior, Behavior::cinema);
    EXPECT_EQ(defaults[1].bundleIdentifiers,
              (std::vector<std::string>{"com.apple.tv", "com.netflix.Netflix", "com.disney.disneyplus"}));
    EXPECT_EQ(defaults[2].name, "Coding");
    EXPECT_EQ(defaults[2].behavior, Behavior::coding);
    EXPECT_EQ(defaults[2].bundleIdentifiers,
              (std::vector<std::string>{"com.apple.dt.Xcode", "com.microsoft.VSCode", "com.googlecode.iterm2",
                                        "com.todesktop.230313mzl4w4u92"}));
    for (const auto& profile : defaults) EXPECT_TRUE(profile.isBuiltIn);

    // Built once per process: the ids do not change between calls.
    EXPECT_EQ(ActivityProfile::defaults()[1].id, defaults[1].id);
    EXPECT_NE(defaults[0].id, defaults[1].id);
}

TEST(ActivityProfile, NewProfilesGetFreshIds) {
    const ActivityProfile a("A", {}, Behavior::reading, false);
    const ActivityProfile b("A", {}, Behavior::reading, false);
    EXPECT_NE(a.id, b.id);
}

TEST(CircadianProfile, InitialiserDefaultsAndJsonRoundTrip) {
    CircadianProfile profile("Night owl", 9, 30, 1, 15);
    EXPECT_TRUE(profile.morningBoostEnabled);
    EXPECT_EQ(profile.minimumKelvin, 1800);
    EXPECT_EQ(profile.maximumKelvin, 6500);
    EXPECT_EQ(profile.transitionSpeed, Speed::normal);

    profile.transitionSpeed = Speed::fast;
    profile.morningBoostEnabled = false;
    profile.minimumKelvin = 2200;
    const auto json = profile.toJson();
    EXPECT_EQ(json.size(), 10u);
    EXPECT_EQ(json.at("id"), profile.id.string());
    EXPECT_EQ(json.at("transitionSpeed"), "fast");
    EXPECT_EQ(json.at("sleepMinute"), 15);

    const auto decoded = CircadianProfile::fromJson(json);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->id, profile.id);
    EXPECT_EQ(decoded->name, "Night owl");
    EXPECT_EQ(decoded->wakeHour, 9);
    EXPECT_EQ(decoded->wakeMinute, 30);
    EXPECT_EQ(decoded->sleepHour, 1);
    EXPECT_EQ(decoded->sleepMinute, 15);
    EXPECT_FALSE(decoded->morningBoostEnabled);
    EXPECT_EQ(decoded->minimumKelvin, 2200);
    EXPECT_EQ(decoded->maximumKelvin, 6500);
    EXPECT_EQ(decoded->transitionSpeed, Speed::fast);
}

TEST(CircadianProfile, DecodingNeedsEveryKeyWithItsType) {
    const auto good = CircadianProfile("Default", 7, 0, 23, 0).toJson();
    for (const char* key : {"id", "name", "wakeHour", "wakeMinute", "sleepHour", "sleepMinute", "morningBoostEnabled",
                            "minimumKelvin", "maximumKelvin", "transitionSpeed"}) {
        auto missing = good;
        missing.erase(key);
        EXPECT_FALSE(CircadianProfile::fromJson(missing)) << "without " << key;
    }
    const struct {
        const char* key;
        json::Json value;
    } wrong[] = {
        {"transitionSpeed", "Fast"}, {"wakeHour", 7.5},       {"wakeHour", "7"},
        {"morningBoostEnabled", 1},  {"id", "not-a-uuid"},    {"maximumKelvin", nullptr},
    };
    for (const auto& w : wrong) {
        auto bad = good;
        bad[w.key] = w.value;
        EXPECT_FALSE(CircadianProfile::fromJson(bad)) << w.key << " = " << w.value.dump();
    }
    EXPECT_EQ(rawValue(Speed::slow), "slow");
    EXPECT_EQ(fromRawValue<Speed>("normal"), Speed::normal);
    EXPECT_EQ(fromRawValue<Speed>("Normal"), std::nullopt);
}

}  // namespace
}  // namespace solvara
