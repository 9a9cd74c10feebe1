#include "core/profiles/ProfileManager.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/foundation/Json.h"
#include "tests/support/LogCapture.h"

namespace solvara {
namespace {

using Behavior = ActivityProfile::Behavior;
using Names = std::vector<std::string>;

ActivityProfile userProfile(const std::string& name, std::vector<std::string> ids,
                            Behavior behavior = Behavior::reading) {
    return ActivityProfile(name, std::move(ids), behavior, false);
}

Names names(const ProfileManager& manager) {
    Names out;
    for (const auto& profile : manager.activityProfiles()) out.push_back(profile.name);
    return out;
}

TEST(ProfileManager, LookupPrefersBuiltInsThenTheEarliestUserProfile) {
    ProfileManager manager;
    EXPECT_EQ(manager.circadianProfile().name, "Default");
    EXPECT_EQ(manager.circadianProfile().sleepHour, 23);
    manager.addProfile(userProfile("My TV", {"vlc", "tv.plex.PlexDesktop"}));
    manager.addProfile(userProfile("Players", {"tv.plex.PlexDesktop", "net.example.Player"}, Behavior::cinema));
    manager.addProfile(userProfile("Nothing", {}, Behavior::colorAccurate));

    const struct {
        const char* bundleId;
        const char* profile;  // nullptr: none
        Behavior behavior;
    } cases[] = {
        {"vlc", "Cinema", Behavior::cinema},
        {"VLC", nullptr, Behavior::normal},
        {"tv.plex.PlexDesktop", "My TV", Behavior::reading},
        {"net.example.Player", "Players", Behavior::cinema},
        {"", nullptr, Behavior::normal},
        // The built-ins name programs as the desktop reports them.
        {"org.gimp.GIMP", "Color Accurate", Behavior::colorAccurate},
        {"org.kde.krita", "Color Accurate", Behavior::colorAccurate},
        {"org.gnome.Totem", "Cinema", Behavior::cinema},
        {"mpv", "Cinema", Behavior::cinema},
        {"code", "Coding", Behavior::coding},
        {"org.gnome.gedit", "Coding", Behavior::coding},
    };
    for (const auto& c : cases) {
        const auto found = manager.activityProfile(c.bundleId);
        const auto name = found ? std::optional<std::string>(found->name) : std::nullopt;
        EXPECT_EQ(name, c.profile ? std::optional<std::string>(c.profile) : std::nullopt) << c.bundleId;
        EXPECT_EQ(manager.effectiveBehavior(c.bundleId), c.behavior) << c.bundleId;
    }
}

TEST(ProfileManager, EditsKeepOrderAndSpareBuiltInsFromDeletion) {
    ProfileManager manager;
    auto a = userProfile("A", {"a"});
    const auto b = userProfile("B", {"b"});
    manager.addProfile(a);
    manager.addProfile(b);
    manager.addProfile(userProfile("C", {"c"}));

    manager.deleteProfile(ActivityProfile::defaults()[1].id);
    manager.deleteProfile(Uuid::random());
    manager.updateProfile(userProfile("Stranger", {"y"}));
    EXPECT_EQ(names(manager), (Names{"Color Accurate", "Cinema", "Coding", "A", "B", "C"}));

    manager.deleteProfile(b.id);
    a.name = "A2";
    manager.updateProfile(a);
    auto cinema = ActivityProfile::defaults()[1];
    cinema.bundleIdentifiers = {"tv.plex"};
    manager.updateProfile(cinema);  // built-ins are replaced too, in place
    EXPECT_EQ(names(manager), (Names{"Color Accurate", "Cinema", "Coding", "A2", "C"}));
    EXPECT_EQ(manager.activityProfile("tv.plex")->id, cinema.id);
    EXPECT_FALSE(manager.activityProfile("vlc"));
}

TEST(ProfileManager, CustomProfilesRoundTripThroughJson) {
    ProfileManager manager;
    EXPECT_EQ(manager.encodeCustomProfiles(), std::nullopt);
    manager.addProfile(userProfile("Reading room", {"org.gnome.Evince", "calibre"}));
    manager.addProfile(userProfile("Empty", {}, Behavior::normal));
    const auto data = manager.encodeCustomProfiles();
    ASSERT_TRUE(data);

    const auto document = json::parse(*data);
    ASSERT_TRUE(document && document->size() == 2);
    EXPECT_EQ((*document)[0], (json::Json{{"id", manager.activityProfiles()[3].id.string()},
                                          {"name", "Reading room"},
                                          {"bundleIdentifiers", {"org.gnome.Evince", "calibre"}},
                                          {"behavior", "reading"},
                                          {"isBuiltIn", false}}));
    EXPECT_EQ((*document)[1].at("bundleIdentifiers"), json::Json::array());

    ProfileManager restored;
    EXPECT_TRUE(restored.restoreCustomProfiles(*data));
    EXPECT_TRUE(restored.restoreCustomProfiles(*data));  // rebuilt, not appended
    EXPECT_EQ(names(restored), (Names{"Color Accurate", "Cinema", "Coding", "Reading room", "Empty"}));
    EXPECT_EQ(restored.activityProfiles()[0].id, ActivityProfile::defaults()[0].id);
    EXPECT_EQ(restored.activityProfiles()[3].id, manager.activityProfiles()[3].id);
    EXPECT_EQ(restored.encodeCustomProfiles(), data);

    // Elements are taken as they are: a lower-case id, a built-in flag, extra keys.
    restored.restoreCustomProfiles(R"([{"id": "0f8fad5b-d9cb-469f-a165-70867728950e", "name": "X",
        "bundleIdentifiers": [], "behavior": "cinema", "isBuiltIn": true, "extra": 1}])");
    EXPECT_EQ(names(restored), (Names{"Color Accurate", "Cinema", "Coding", "X"}));
    EXPECT_TRUE(restored.activityProfiles()[3].isBuiltIn);
    EXPECT_EQ(restored.activityProfiles()[3].id.string(), "0F8FAD5B-D9CB-469F-A165-70867728950E");
    EXPECT_TRUE(restored.restoreCustomProfiles("[]"));
    EXPECT_EQ(names(restored), (Names{"Color Accurate", "Cinema", "Coding"}));
}

TEST(ProfileManager, BadDocumentIsRejectedWholeAndTheListKept) {
    ProfileManager manager;
    manager.addProfile(userProfile("Kept", {"kept.app"}, Behavior::coding));
    const auto saved = manager.encodeCustomProfiles();
    manager.restoreCustomProfiles(*saved);

    const std::string head = R"([{"id": "6F9619FF-8B86-D011-B42D-00CF4FC964FF", "name": "N", )";
    const std::string good = head + R"("bundleIdentifiers": [], "behavior": "normal", "isBuiltIn": false})";
    const std::string documents[] = {
        "",
        "not json",
        "{}",
        "null",
        R"("[]")",
        good,  // the last lacks its closing bracket
        head + R"("bundleIdentifiers": [], "behavior": "Normal", "isBuiltIn": false}])",
        head + R"("bundleIdentifiers": [], "behavior": "normal"}])",
        head + R"("bundleIdentifiers": [1], "behavior": "normal", "isBuiltIn": false}])",
        head + R"("bundleIdentifiers": [], "behavior": "normal", "isBuiltIn": 0}])",
        R"([{"id": "6F9619FF", "name": "N", "bundleIdentifiers": [], "behavior": "normal", "isBuiltIn": false}])",
        R"([{"id": "6F9619FF-8B86-D011-B42D-00CF4FC964FF", "name": null, "bundleIdentifiers": [], "behavior": "normal", "isBuiltIn": false}])",
        good + ", 42]",
    };
    for (const auto& document : documents) {
        testing::LogCapture log;
        EXPECT_FALSE(manager.restoreCustomProfiles(document)) << document;
        EXPECT_EQ(names(manager), (Names{"Color Accurate", "Cinema", "Coding", "Kept"})) << document;
        EXPECT_EQ(manager.encodeCustomProfiles(), saved) << document;
        EXPECT_TRUE(log.contains("[ProfileManager]")) << document;
    }
}

}  // namespace
}  // namespace solvara
