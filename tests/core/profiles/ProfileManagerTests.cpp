#include "core/profiles/ProfileManager.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/foundation/Json.h"
#include "tests/support/LogCapture.h"

namespace solvara {
namespace {

using Behavior = ActivityProfile::Behavior;

ActivityProfile userProfile(const std::string& name, std::vector<std::string> ids,
                            Behavior behavior = Behavior::reading) {
    return ActivityProfile(name, std::move(ids), behavior, false);
}

std::vector<std::string> names(const ProfileManager& manager) {
    std::vector<std::string> out;
    for (const auto& profile : manager.activityProfiles()) out.push_back(profile.name);
    return out;
}

void expectSameProfile(const ActivityProfile& a, const ActivityProfile& b) {
    EXPECT_EQ(a.id, b.id);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.bundleIdentifiers, b.bundleIdentifiers);
    EXPECT_EQ(a.behavior, b.behavior);
    EXPECT_EQ(a.isBuiltIn, b.isBuiltIn);
}

void expectSameList(const ProfileManager& a, const ProfileManager& b) {
    ASSERT_EQ(a.activityProfiles().size(), b.activityProfiles().size());
    for (std::size_t i = 0; i < a.activityProfiles().size(); ++i) {
        SCOPED_TRACE(i);
        expectSameProfile(a.activityProfiles()[i], b.activityProfiles()[i]);
    }
}

const std::vector<std::string> builtInNames{"Color Accurate", "Cinema", "Coding"};

TEST(ProfileManager, StartsWithTheBuiltInsAndTheDefaultSchedule) {
    const ProfileManager manager;
    EXPECT_EQ(names(manager), builtInNames);
    EXPECT_EQ(manager.activityProfiles()[0].id, ActivityProfile::defaults()[0].id);

    const auto& schedule = manager.circadianProfile();
    EXPECT_EQ(schedule.name, "Default");
    EXPECT_EQ(schedule.wakeHour, 7);
    EXPECT_EQ(schedule.wakeMinute, 0);
    EXPECT_EQ(schedule.sleepHour, 23);
    EXPECT_EQ(schedule.sleepMinute, 0);
    EXPECT_TRUE(schedule.morningBoostEnabled);
    EXPECT_EQ(schedule.transitionSpeed, CircadianProfile::TransitionSpeed::normal);
}

TEST(ProfileManager, LookupPrefersBuiltInsThenTheEarliestUserProfile) {
    ProfileManager manager;
    manager.addProfile(userProfile("My TV", {"com.apple.tv", "org.videolan.vlc"}));
    manager.addProfile(userProfile("Players", {"org.videolan.vlc", "mpv"}, Behavior::cinema));
    manager.addProfile(userProfile("Nothing", {}, Behavior::colorAccurate));

    const struct {
        const char* bundleId;
        const char* profile;  // nullptr: no profile
        Behavior behavior;
    } cases[] = {
        {"com.apple.tv", "Cinema", Behavior::cinema},
        {"com.Apple.tv", nullptr, Behavior::normal},
        {"com.adobe.Photoshop", "Color Accurate", Behavior::colorAccurate},
        {"org.videolan.vlc", "My TV", Behavior::reading},
        {"mpv", "Players", Behavior::cinema},
        {"", nullptr, Behavior::normal},
        {"com.apple.tv ", nullptr, Behavior::normal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bundleId);
        const auto found = manager.activityProfile(c.bundleId);
        if (c.profile == nullptr) {
            EXPECT_FALSE(found);
        } else {
            ASSERT_TRUE(found);
            EXPECT_EQ(found->name, c.profile);
        }
        EXPECT_EQ(manager.effectiveBehavior(c.bundleId), c.behavior);
    }
}

TEST(ProfileManager, DeleteSparesBuiltInsAndKeepsOrder) {
    ProfileManager manager;
    const auto a = userProfile("A", {"a"});
    const auto b = userProfile("B", {"b"});
    const auto c = userProfile("C", {"c"});
    manager.addProfile(a);
    manager.addProfile(b);
    manager.addProfile(c);

    manager.deleteProfile(ActivityProfile::defaults()[1].id);
    EXPECT_EQ(names(manager), (std::vector<std::string>{"Color Accurate", "Cinema", "Coding", "A", "B", "C"}));
    manager.deleteProfile(Uuid::random());
    EXPECT_EQ(manager.activityProfiles().size(), 6u);
    manager.deleteProfile(b.id);
    EXPECT_EQ(names(manager), (std::vector<std::string>{"Color Accurate", "Cinema", "Coding", "A", "C"}));
}

TEST(ProfileManager, UpdateReplacesInPlaceBuiltInsIncluded) {
    ProfileManager manager;
    auto mine = userProfile("Mine", {"x"});
    manager.addProfile(mine);

    manager.updateProfile(userProfile("Stranger", {"y"}));
    EXPECT_EQ(names(manager), (std::vector<std::string>{"Color Accurate", "Cinema", "Coding", "Mine"}));

    mine.name = "Mine, renamed";
    mine.behavior = Behavior::coding;
    manager.updateProfile(mine);
    expectSameProfile(manager.activityProfiles()[3], mine);

    auto cinema = ActivityProfile::defaults()[1];
    cinema.bundleIdentifiers = {"tv.plex"};
    manager.updateProfile(cinema);
    EXPECT_EQ(names(manager)[1], "Cinema");
    EXPECT_EQ(manager.activityProfile("tv.plex")->id, cinema.id);
    EXPECT_FALSE(manager.activityProfile("com.apple.tv"));
}

TEST(ProfileManager, CustomProfilesRoundTripThroughJson) {
    ProfileManager manager;
    EXPECT_EQ(manager.encodeCustomProfiles(), std::nullopt);

    manager.addProfile(userProfile("Reading room", {"org.gnome.Evince", "calibre"}, Behavior::reading));
    manager.addProfile(userProfile("Empty", {}, Behavior::normal));
    const auto data = manager.encodeCustomProfiles();
    ASSERT_TRUE(data);

    const auto document = json::parse(*data);
    ASSERT_TRUE(document && document->is_array());
    ASSERT_EQ(document->size(), 2u);
    const auto& first = (*document)[0];
    EXPECT_EQ(first.size(), 5u);
    EXPECT_EQ(first.at("id"), manager.activityProfiles()[3].id.string());
    EXPECT_EQ(first.at("name"), "Reading room");
    EXPECT_EQ(first.at("bundleIdentifiers"), (json::Json{"org.gnome.Evince", "calibre"}));
    EXPECT_EQ(first.at("behavior"), "reading");
    EXPECT_EQ(first.at("isBuiltIn"), false);
    EXPECT_EQ((*document)[1].at("bundleIdentifiers"), json::Json::array());
    EXPECT_EQ(data->find('\n'), std::string::npos);  // compact

    ProfileManager restored;
    restored.restoreCustomProfiles(*data);
    expectSameList(restored, manager);
    EXPECT_FALSE(restored.activityProfile(""));

    // Restoring again rebuilds the list rather than appending to it.
    restored.restoreCustomProfiles(*data);
    expectSameList(restored, manager);
}

TEST(ProfileManager, RestoreTakesElementsAsTheyAre) {
    ProfileManager manager;
    manager.addProfile(userProfile("Dropped", {"z"}));
    manager.restoreCustomProfiles(R"([
        {"id": "0f8fad5b-d9cb-469f-a165-70867728950e", "name": "Lower-case id", "bundleIdentifiers": ["a"],
         "behavior": "cinema", "isBuiltIn": true, "colour": "extra keys are ignored"}
    ])");
    ASSERT_EQ(names(manager), (std::vector<std::string>{"Color Accurate", "Cinema", "Coding", "Lower-case id"}));
    const auto& restored = manager.activityProfiles()[3];
    EXPECT_EQ(restored.id.string(), "0F8FAD5B-D9CB-469F-A165-70867728950E");
    EXPECT_TRUE(restored.isBuiltIn);
    // Flagged built-in, so it is neither deletable nor written back.
    manager.deleteProfile(restored.id);
    EXPECT_EQ(manager.activityProfiles().size(), 4u);
    EXPECT_EQ(manager.encodeCustomProfiles(), std::nullopt);

    manager.restoreCustomProfiles("[]");
    EXPECT_EQ(names(manager), builtInNames);
}

TEST(ProfileManager, BadDocumentIsRejectedWholeAndTheListKept) {
    ProfileManager manager;
    manager.addProfile(userProfile("Kept", {"kept.app"}, Behavior::coding));
    const auto saved = manager.encodeCustomProfiles();
    ASSERT_TRUE(saved);
    manager.restoreCustomProfiles(*saved);

    const std::string valid =
        R"({"id": "6F9619FF-8B86-D011-B42D-00CF4FC964FF", "name": "N", "bundleIdentifiers": [], )"
        R"("behavior": "normal", "isBuiltIn": false})";
    const char* badDocuments[] = {
        "",
        "not json",
        "{}",
        "null",
        R"("[]")",
        R"([{"id": "6F9619FF-8B86-D011-B42D-00CF4FC964FF", "name": "N", "bundleIdentifiers": [], "behavior": "Normal", "isBuiltIn": false}])",
        R"([{"id": "6F9619FF-8B86-D011-B42D-00CF4FC964FF", "name": "N", "bundleIdentifiers": [], "behavior": "normal"}])",
        R"([{"id": "6F9619FF", "name": "N", "bundleIdentifiers": [], "behavior": "normal", "isBuiltIn": false}])",
        R"([{"id": "6F9619FF-8B86-D011-B42D-00CF4FC964FF", "name": null, "bundleIdentifiers": [], "behavior": "normal", "isBuiltIn": false}])",
        R"([{"id": "6F9619FF-8B86-D011-B42D-00CF4FC964FF", "name": "N", "bundleIdentifiers": [1], "behavior": "normal", "isBuiltIn": false}])",
        R"([{"id": "6F9619FF-8B86-D011-B42D-00CF4FC964FF", "name": "N", "bundleIdentifiers": "a", "behavior": "normal", "isBuiltIn": false}])",
        R"([{"id": "6F9619FF-8B86-D011-B42D-00CF4FC964FF", "name": "N", "bundleIdentifiers": [], "behavior": "normal", "isBuiltIn": 0}])",
    };
    std::vector<std::string> documents(std::begin(badDocuments), std::end(badDocuments));
    // One bad element spoils an otherwise good document.
    documents.push_back("[" + valid + R"(, {"name": "no id"}])");
    documents.push_back("[" + valid + ", 42]");
    documents.push_back("[" + valid + "");

    for (const auto& document : documents) {
        SCOPED_TRACE(document);
        testing::LogCapture log;
        manager.restoreCustomProfiles(document);
        EXPECT_EQ(names(manager), (std::vector<std::string>{"Color Accurate", "Cinema", "Coding", "Kept"}));
        EXPECT_EQ(manager.encodeCustomProfiles(), saved);
        EXPECT_TRUE(log.contains("[ProfileManager]"));
    }
}

}  // namespace
}  // namespace solvara
