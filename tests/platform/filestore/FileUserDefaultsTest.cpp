#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/fake/FakeRunLoop.h"
#include "platform/filestore/FileUserDefaults.h"
#include "tests/support/LogCapture.h"

namespace solvara {
namespace {

namespace fs = std::filesystem;

class FileUserDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "solvara-defaults-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        path = (dir / "solvara" / "user-defaults.json").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string contents(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void writeFile(const fs::path& file, const std::string& bytes) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }

    fs::path dir;
    std::string path;
    testing::LogCapture log;
};

TEST_F(FileUserDefaultsTest, ValuesKeepTheirTypesAcrossARestart) {
    const nlohmann::json document = nlohmann::json::array({{{"displayID", 3000000000u}, {"isEnabled", true}}});
    {
        FileUserDefaults store(path);
        store.set("sv_isEnabled", false);
        store.set("sv_wakeHour", std::int64_t{7});
        store.set("sv_pwmThreshold", 40.0);
        store.set("sv_currentMode", std::string("Auto"));
        store.set("sv_doc", document);
        store.set("sv_textDoc", nlohmann::json("Auto"));
        ASSERT_TRUE(store.flush());
        EXPECT_EQ(store.writeCount(), 1);
    }
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    FileUserDefaults store(path);
    EXPECT_EQ(store.boolValue("sv_isEnabled"), false);
    EXPECT_EQ(store.integerValue("sv_wakeHour"), 7);
    EXPECT_EQ(store.realValue("sv_pwmThreshold"), 40.0);
    EXPECT_EQ(store.integerValue("sv_pwmThreshold"), std::nullopt);  // a double stays a double
    EXPECT_EQ(store.realValue("sv_wakeHour"), 7.0);                   // integers read as reals too
    EXPECT_EQ(store.stringValue("sv_currentMode"), "Auto");
    EXPECT_EQ(store.jsonValue("sv_currentMode"), std::nullopt);
    EXPECT_EQ(store.jsonValue("sv_doc"), document);
    EXPECT_EQ(store.jsonValue("sv_textDoc"), nlohmann::json("Auto"));
    EXPECT_EQ(store.stringValue("sv_textDoc"), std::nullopt);
    store.remove("sv_wakeHour");
    ASSERT_TRUE(store.flush());
    EXPECT_FALSE(FileUserDefaults(path).contains("sv_wakeHour"));
}

TEST_F(FileUserDefaultsTest, NothingIsWrittenWhenNothingChanged) {
    FileUserDefaults store(path);
    store.set("sv_dayKelvin", std::int64_t{6500});
    ASSERT_TRUE(store.flush());
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    store.set("sv_dayKelvin", std::int64_t{6500});
    EXPECT_TRUE(store.flush());
    // Changed and changed back before the flush: the file already holds it.
    store.set("sv_dayKelvin", std::int64_t{5000});
    store.set("sv_dayKelvin", std::int64_t{6500});
    EXPECT_TRUE(store.flush());
    EXPECT_EQ(store.writeCount(), 1);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);

    store.set("sv_dayKelvin", 6500.0);  // the same number as another type is a change
    EXPECT_TRUE(store.flush());
    EXPECT_EQ(store.writeCount(), 2);

    FileUserDefaults reopened(path);  // knows what is on disk
    reopened.set("sv_dayKelvin", 6500.0);
    EXPECT_TRUE(reopened.flush());
    EXPECT_EQ(reopened.writeCount(), 0);
}

TEST_F(FileUserDefaultsTest, DocumentsGivenAsTextGoIntoTheFileAsTheyAre) {
    const std::string records = R"([{"colorTemperature":2700,"durationSeconds":10,"melanopicEDI":-0.0}])";
    {
        FileUserDefaults store(path);
        store.set("sv_exposureRecords", UserDefaults::JsonText{records});
        store.set("sv_b", UserDefaults::JsonText{"[]"});
        store.set("sv_a", true);
        store.set("sv_c", std::string("x"));
        EXPECT_EQ(store.jsonValue("sv_exposureRecords"), nlohmann::json::parse(records));
        ASSERT_TRUE(store.flush());
    }
    const std::string file = contents(path);
    EXPECT_NE(file.find(R"("sv_exposureRecords": {"json":)" + records + "}"), std::string::npos) << file;
    EXPECT_LT(file.find("sv_a"), file.find("sv_b"));  // in key order, among the other values
    EXPECT_LT(file.find("sv_b"), file.find("sv_c"));

    FileUserDefaults store(path);
    EXPECT_EQ(store.jsonValue("sv_b"), nlohmann::json::array());
    // The same document again, as read from the file, then as the same text: no write. A
    // document that differs, a value of another type, a removal: each is one.
    store.set("sv_exposureRecords", UserDefaults::JsonText{records});
    store.set("sv_exposureRecords", UserDefaults::JsonText{records});
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(store.writeCount(), 0);
    store.set("sv_exposureRecords", UserDefaults::JsonText{"[]"});
    ASSERT_TRUE(store.flush());
    store.set("sv_b", std::int64_t{2});
    ASSERT_TRUE(store.flush());
    store.set("sv_c", UserDefaults::JsonText{R"({"k":[1,2]})"});
    ASSERT_TRUE(store.flush());
    store.remove("sv_exposureRecords");
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(store.writeCount(), 4);

    FileUserDefaults reread(path);
    EXPECT_FALSE(reread.contains("sv_exposureRecords"));
    EXPECT_EQ(reread.integerValue("sv_b"), 2);
    EXPECT_EQ(reread.jsonValue("sv_c"), nlohmann::json::parse(R"({"k":[1,2]})"));
}

TEST_F(FileUserDefaultsTest, ADocumentThatIsNotJsonNeverReachesTheFile) {
    {
        FileUserDefaults store(path);
        store.set("sv_good", UserDefaults::JsonText{"[1]"});
        store.set("sv_bad", UserDefaults::JsonText{"[1,"});
        store.set("sv_isEnabled", true);
        EXPECT_TRUE(store.flush());
        EXPECT_TRUE(log.contains("sv_bad"));
        EXPECT_FALSE(store.contains("sv_bad"));
    }
    FileUserDefaults reread(path);
    EXPECT_FALSE(reread.keptAsidePath());
    EXPECT_EQ(reread.jsonValue("sv_good"), nlohmann::json::array({1}));

    // Likewise for the automatic writes, which check off the main thread.
    FakeRunLoop loop;
    FileUserDefaults store(path, &loop);
    store.set("sv_bad", UserDefaults::JsonText{"{\"a\":}"});
    store.set("sv_isEnabled", false);
    loop.advance(0.3);
    EXPECT_EQ(store.writeCount(), 0);
    EXPECT_FALSE(store.contains("sv_bad"));
    loop.advance(0.3);  // the next attempt, without it
    EXPECT_EQ(store.writeCount(), 1);
    EXPECT_EQ(FileUserDefaults(path).boolValue("sv_isEnabled"), false);
}

TEST_F(FileUserDefaultsTest, CorruptFileIsKeptAsideAndNeverOverwritten) {
    const std::string corrupt = "{\"sv_isEnabled\": true, \"sv_healthHistory\": {\"json\": [1, 2,";
    writeFile(path, corrupt);
    {
        FileUserDefaults store(path);
        ASSERT_TRUE(store.keptAsidePath().has_value());
        EXPECT_TRUE(log.contains(*store.keptAsidePath()));
        EXPECT_FALSE(store.contains("sv_isEnabled"));
        store.set("sv_isEnabled", false);
        ASSERT_TRUE(store.flush());
        EXPECT_EQ(contents(*store.keptAsidePath()), corrupt);
    }
    // Valid JSON that is not an object is not ours either; kept in the same second, it gets a
    // name of its own.
    writeFile(path, "[1, 2, 3]");
    FileUserDefaults again(path);
    ASSERT_TRUE(again.keptAsidePath().has_value());
    int aside = 0;
    for (const auto& entry : fs::directory_iterator(dir / "solvara")) {
        if (entry.path().filename().string().find(".corrupt-") != std::string::npos) ++aside;
    }
    EXPECT_EQ(aside, 2);
}

TEST_F(FileUserDefaultsTest, RefusesNonFiniteNumbersAndKeepsTheOldValue) {
    FileUserDefaults store(path);
    store.set("sv_opacity", 0.3);
    EXPECT_FALSE(store.set("sv_opacity", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(store.set("sv_opacity", std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(store.set("sv_doc", nlohmann::json::array({1.0, std::numeric_limits<double>::infinity()})));
    EXPECT_EQ(store.realValue("sv_opacity"), 0.3);
    EXPECT_FALSE(store.contains("sv_doc"));
    EXPECT_TRUE(log.contains("sv_opacity"));
}

TEST_F(FileUserDefaultsTest, EntriesOfUnknownShapeSurviveAWrite) {
    writeFile(path, R"({"sv_keyboardShortcuts": {"Toggle On/Off": [14, 786432]}, "sv_isEnabled": true})");
    {
        FileUserDefaults store(path);
        EXPECT_TRUE(store.contains("sv_keyboardShortcuts"));
        EXPECT_EQ(store.jsonValue("sv_keyboardShortcuts"), std::nullopt);
        store.set("sv_isEnabled", false);
    }  // destruction writes
    const auto reread = nlohmann::json::parse(contents(path));
    EXPECT_EQ(reread["sv_keyboardShortcuts"]["Toggle On/Off"][0], 14);
    EXPECT_EQ(reread["sv_isEnabled"], false);
}

TEST_F(FileUserDefaultsTest, FailedWritesAreReportedAndMadeGoodLater) {
    // A plain file where the settings directory should be makes every write fail.
    const fs::path blocked = dir / "blocked";
    writeFile(blocked, "");
    const std::string blockedPath = (blocked / "user-defaults.json").string();
    FakeRunLoop loop;
    FileUserDefaults store(blockedPath, &loop);
    store.set("sv_wakeHour", std::int64_t{6});
    loop.advance(1);  // the background write fails
    EXPECT_EQ(store.writeCount(), 0);
    EXPECT_FALSE(store.flush());
    EXPECT_EQ(store.integerValue("sv_wakeHour"), 6);
    const std::string blockedLine = "[UserDefaults] Not saving the settings: " + blocked.string() + " is not a folder";
    EXPECT_EQ(log.lines, std::vector<std::string>{blockedLine}) << "the same failure is logged once";

    fs::remove(blocked);
    EXPECT_TRUE(store.flush());
    EXPECT_EQ(FileUserDefaults(blockedPath).integerValue("sv_wakeHour"), 6);

    // The directory removed while the program runs is made again.
    fs::remove_all(blocked);
    store.set("sv_wakeHour", std::int64_t{7});
    EXPECT_TRUE(store.flush());
    EXPECT_EQ(FileUserDefaults(blockedPath).integerValue("sv_wakeHour"), 7);

    // After a write that succeeded, the same failure is news again.
    fs::remove_all(blocked);
    writeFile(blocked, "");
    store.set("sv_wakeHour", std::int64_t{8});
    EXPECT_FALSE(store.flush());
    EXPECT_EQ(log.lines, (std::vector<std::string>{blockedLine, blockedLine}));
}

TEST_F(FileUserDefaultsTest, SamplesGoOutAfterASecondButAtMostOnceAMinuteWhileTheyKeepComing) {
    FakeRunLoop loop(Date(0));
    std::int64_t tick = 0;
    const auto storedTick = [&] { return FileUserDefaults(path).integerValue("sv_tick"); };
    {
        FileUserDefaults store(path, &loop, {"sv_tick"});
        // A change every ten seconds, as the update does.
        const auto runTicksUntil = [&](double end) {
            while (loop.now().secondsSinceReferenceDate + 10.0 <= end) {
                store.set("sv_tick", ++tick);
                loop.advance(10.0);
            }
        };
        store.set("sv_tick", tick);
        loop.advance(0.9);
        EXPECT_FALSE(fs::exists(path));
        loop.advance(0.1);
        EXPECT_EQ(store.writeCount(), 1);

        loop.advance(4.0);  // t = 5
        runTicksUntil(55.0);
        loop.advance(5.9);  // t = 60.9
        EXPECT_EQ(store.writeCount(), 1);
        loop.advance(0.1);
        EXPECT_EQ(store.writeCount(), 2);  // a minute after the first write, with the latest value
        EXPECT_EQ(storedTick(), tick);
        runTicksUntil(175.0);
        EXPECT_EQ(store.writeCount(), 3);  // at t = 121

        // After a quiet spell a change is written promptly again; an unchanged value not at all.
        loop.advance(300.0);
        store.set("sv_tick", tick);
        loop.advance(60.0);
        EXPECT_EQ(store.writeCount(), 4);
        store.set("sv_tick", ++tick);
        loop.advance(1.0);
        EXPECT_EQ(store.writeCount(), 5);

        // flush() writes at once, whatever the interval, and leaves nothing pending.
        store.set("sv_tick", ++tick);
        EXPECT_TRUE(store.flush());
        EXPECT_EQ(store.writeCount(), 6);
        loop.advance(120.0);
        EXPECT_EQ(store.writeCount(), 6);

        store.set("sv_tick", ++tick);
        loop.advance(1.0);
        store.set("sv_tick", ++tick);
        loop.advance(10.0);
        EXPECT_NE(storedTick(), tick);
    }  // shutdown writes what is pending
    EXPECT_EQ(storedTick(), tick);
}

TEST_F(FileUserDefaultsTest, AUsersChangeGoesOutAtOnceAndABurstInOneWrite) {
    FakeRunLoop loop(Date(0));
    FileUserDefaults store(path, &loop, {"sv_tick"});
    store.set("sv_tick", std::int64_t{1});
    loop.advance(1.0);
    ASSERT_EQ(store.writeCount(), 1);
    store.set("sv_tick", std::int64_t{2});  // held for a minute on its own...
    loop.advance(5.0);
    EXPECT_EQ(store.writeCount(), 1);

    // ...but a user's change goes out a quarter second later, with the pending sample, and a
    // slider dragged through twenty values within that time is one write.
    for (std::int64_t kelvin = 4000; kelvin < 4200; kelvin += 10) {
        store.set("sv_dayKelvin", kelvin);
        loop.advance(0.01);
    }
    loop.advance(0.1);
    EXPECT_EQ(store.writeCount(), 2);
    EXPECT_EQ(FileUserDefaults(path).integerValue("sv_dayKelvin"), 4190);
    EXPECT_EQ(FileUserDefaults(path).integerValue("sv_tick"), 2);
    store.remove("sv_dayKelvin");
    loop.advance(0.3);
    EXPECT_EQ(store.writeCount(), 3);
    loop.advance(120.0);
    EXPECT_EQ(store.writeCount(), 3);  // nothing left over
}

TEST_F(FileUserDefaultsTest, WhatIsNoSettingsFileIsKeptAsideAndTheStartGoesOn) {
    std::string deep(60000, '[');
    deep.append(60000, ']');
    std::string huge = R"({"sv_isEnabled": true, "sv_pad": ")";
    huge.append(9 * 1024 * 1024, 'x');
    huge += "\"}";
    // A settings file as saved under umask 002, of the group given.
    const auto groupWritable = [&](const std::string& p, gid_t group) {
        writeFile(p, R"({"sv_isEnabled": true})");
        ASSERT_EQ(::chown(p.c_str(), static_cast<uid_t>(-1), group), 0);
        ASSERT_EQ(::chmod(p.c_str(), 0664), 0);
    };
    const struct {
        const char* name;
        std::function<void(const std::string&)> plant;
        const char* why;  // in the log line; none: read as it is
        bool needsRoot = false;
        mode_t folder = 0755;
    } cases[] = {
        {"another user's",
         [&](const std::string& p) {
             writeFile(p, "{}");
             ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0);
         },
         "(it belongs to another user)", true},
        {"ours, 0666 in a 0755 folder",
         [&](const std::string& p) {
             writeFile(p, R"({"sv_isEnabled": true})");
             ASSERT_EQ(::chmod(p.c_str(), 0666), 0);
         },
         "(it is open to other users)"},
        {"ours, 0664 in a 0700 folder no one else may enter",
         [&](const std::string& p) {
             writeFile(p, R"({"sv_isEnabled": true})");
             ASSERT_EQ(::chmod(p.c_str(), 0664), 0);
         },
         nullptr, false, 0700},
        {"ours, 0664 of group nogroup", [&](const std::string& p) { groupWritable(p, 65534); },
         "(it is open to the group nogroup, which has other members)", true},
        {"ours, 0664 of group nogroup in a 0750 folder of group root",
         [&](const std::string& p) { groupWritable(p, 65534); }, nullptr, true, 0750},
        {"ours, 0664 of group nogroup in a 0750 folder of group nogroup",
         [&](const std::string& p) {
             groupWritable(p, 65534);
             ASSERT_EQ(::chown(fs::path(p).parent_path().c_str(), static_cast<uid_t>(-1), 65534), 0);
         },
         "(it is open to the group nogroup, which has other members)", true, 0750},
        {"nested 60000 deep", [&](const std::string& p) { writeFile(p, R"({"sv_x": )" + deep + "}"); }, "too deep"},
        {"a FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "a FIFO"},
        {"9 MiB of valid JSON", [&](const std::string& p) { writeFile(p, huge); }, "far beyond"},
        {"a symbolic link", [&](const std::string& p) { fs::create_symlink(dir / "elsewhere.json", p); }, "link"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && ::geteuid() != 0) continue;
        log.lines.clear();
        fs::remove_all(dir / "solvara");
        fs::create_directories(dir / "solvara");
        ASSERT_EQ(::chmod((dir / "solvara").c_str(), c.folder), 0);
        c.plant(path);
        FileUserDefaults store(path);
        if (c.why == nullptr) {
            EXPECT_FALSE(store.keptAsidePath());
            EXPECT_EQ(store.boolValue("sv_isEnabled"), true);
        } else {
            ASSERT_TRUE(store.keptAsidePath());
            EXPECT_TRUE(log.contains(c.why));
            EXPECT_TRUE(fs::exists(fs::symlink_status(*store.keptAsidePath())));
            EXPECT_FALSE(store.contains("sv_isEnabled"));
        }
        store.set("sv_isEnabled", false);
        ASSERT_TRUE(store.flush());
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
        EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(FileUserDefaults(path).boolValue("sv_isEnabled"), false);
    }
}

TEST_F(FileUserDefaultsTest, OnlyADirectoryOfOursClosedToOthersIsReadAndWrittenEvenThroughALinkOfOurs) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give files to another user";
    const fs::path settingsDir = dir / "solvara";
    const fs::path real = dir / "dotfiles";
    const std::string planted = R"({"sv_isEnabled": false, "sv_dayKelvin": 1000})";
    const auto makeDir = [](const fs::path& at, fs::perms mode) {
        fs::create_directory(at);
        fs::permissions(at, mode);
    };
    const auto linkToReal = [&](fs::perms mode) {
        makeDir(real, mode);
        fs::create_directory_symlink(real, settingsDir);
    };
    const fs::perms own = fs::perms::owner_all;
    const fs::perms readable =
        own | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    // As made under umask 002.
    const auto groupWritable = [&](const fs::path& at, gid_t group) {
        makeDir(at, readable | fs::perms::group_write);
        ASSERT_EQ(::chown(at.c_str(), static_cast<uid_t>(-1), group), 0);
    };
    const std::string linkTo = "it is a symbolic link to " + real.string();
    const struct {
        const char* name;
        std::function<void()> plant;
        std::string why;  // empty: used
    } cases[] = {
        {"ours, 0700", [&] { makeDir(settingsDir, own); }, ""},
        {"ours, 0755", [&] { makeDir(settingsDir, readable); }, ""},
        {"ours, 0777", [&] { makeDir(settingsDir, fs::perms::all); }, "it is open to other users"},
        {"ours, 0775 of group root", [&] { groupWritable(settingsDir, 0); }, ""},
        {"ours, 0775 of group nogroup", [&] { groupWritable(settingsDir, 65534); },
         "it is open to the group nogroup, which has other members"},
        {"another user's",
         [&] {
             makeDir(settingsDir, own);
             ASSERT_EQ(::chown(settingsDir.c_str(), 65534, 65534), 0);
         },
         "it belongs to another user"},
        {"a link to a private directory of ours", [&] { linkToReal(own); }, ""},
        {"a link to another user's",
         [&] {
             linkToReal(own);
             ASSERT_EQ(::chown(real.c_str(), 65534, 65534), 0);
         },
         linkTo + ", which belongs to another user"},
        {"a link to a directory open to all", [&] { linkToReal(fs::perms::all); },
         linkTo + ", which is open to other users"},
        {"a link of another user to ours",
         [&] {
             linkToReal(own);
             ASSERT_EQ(::lchown(settingsDir.c_str(), 65534, 65534), 0);
         },
         "it is a symbolic link of another user"},
        {"a dangling link", [&] { fs::create_directory_symlink(dir / "gone", settingsDir); },
         "it is a symbolic link to nothing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(settingsDir);
        fs::remove_all(real);
        c.plant();
        const fs::path file = fs::exists(settingsDir) ? fs::canonical(settingsDir) / "user-defaults.json" : fs::path();
        if (!file.empty()) std::ofstream(file) << planted;
        log.lines.clear();
        {
            FileUserDefaults store(path);
            store.set("sv_dayKelvin", std::int64_t{4000});
            if (c.why.empty()) {
                EXPECT_FALSE(store.refusedDirectory());
                EXPECT_EQ(store.boolValue("sv_isEnabled"), false);
                EXPECT_TRUE(store.flush());
            } else {
                EXPECT_EQ(store.refusedDirectory(), settingsDir.string() + ": " + c.why);
                EXPECT_FALSE(store.contains("sv_isEnabled"));
                EXPECT_FALSE(store.flush());
            }
        }
        if (!c.why.empty()) {
            if (!file.empty()) {
                EXPECT_EQ(contents(file), planted);
            }
            EXPECT_EQ(log.lines, std::vector<std::string>{"[UserDefaults] Not using the settings directory " +
                                                          settingsDir.string() + ": " + c.why +
                                                          "; running from defaults without reading or saving the "
                                                          "settings there"});
        } else {
            EXPECT_NE(contents(file).find(R"("sv_dayKelvin": 4000)"), std::string::npos) << contents(file);
        }
    }

    // A missing directory is made at once, private.
    fs::remove_all(settingsDir);
    FileUserDefaults store(path);
    EXPECT_FALSE(store.refusedDirectory());
    struct stat info {};
    ASSERT_EQ(::lstat(settingsDir.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

// Moved away, or a link of the user's pointed elsewhere, while the program runs: what the path
// leads to now is checked as at start and written to, or the next start would miss the changes.
TEST_F(FileUserDefaultsTest, WritesGoWhereThePathLeadsNow) {
    const fs::path settingsDir = dir / "solvara";
    FileUserDefaults store(path);
    fs::rename(settingsDir, dir / "solvara.bak");
    store.set("sv_dayKelvin", std::int64_t{4000});
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(FileUserDefaults(path).integerValue("sv_dayKelvin"), 4000);
    EXPECT_EQ(fs::status(settingsDir).permissions(), fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(dir / "solvara.bak"));

    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directory(elsewhere);
    fs::permissions(elsewhere, fs::perms::all);
    fs::remove_all(settingsDir);
    fs::create_directory_symlink(elsewhere, settingsDir);
    store.set("sv_dayKelvin", std::int64_t{5000});
    EXPECT_FALSE(store.flush());
    EXPECT_TRUE(fs::is_empty(elsewhere));
    EXPECT_EQ(log.lines.back(), "[UserDefaults] Not saving the settings in " + settingsDir.string() +
                                    ": it is a symbolic link to " + fs::canonical(elsewhere).string() +
                                    ", which is open to other users");
    fs::permissions(elsewhere, fs::perms::owner_all);
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(FileUserDefaults(path).integerValue("sv_dayKelvin"), 5000);
}

}  // namespace
}  // namespace solvara
