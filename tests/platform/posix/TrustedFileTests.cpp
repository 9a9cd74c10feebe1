#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/posix/TrustedFile.h"

namespace solvara {
namespace {

namespace fs = std::filesystem;

constexpr uid_t nobody = 65534;

// What PluginFilesTest leaves out; every case below a folder of the build tree, whose folders
// are ours and closed to others.
TEST(TrustedFileTest, OnlyAFileNoOneButTheUserAndRootCouldHaveWrittenPasses) {
    std::string pattern = std::string(SOLVARA_TEST_SCRATCH) + "/trusted-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path base = pattern;
    const fs::path app = base / "app";
    const fs::path lib = app / "lib";
    const fs::path plugin = lib / "plugin.so";
    struct Case {
        const char* name;
        std::function<void()> plant;
        std::string path;  // what is asked about
        std::optional<std::string> problem;
        bool needsRoot = false;  // to give files to another user
    };
    const auto chownTo = [](const fs::path& p) { ASSERT_EQ(lchown(p.c_str(), nobody, nobody), 0); };
    const auto chmodTo = [](const fs::path& p, mode_t mode) { ASSERT_EQ(chmod(p.c_str(), mode), 0); };
    // Root's group has no member and is no one else's primary group; nogroup is nobody's.
    const auto groupWritable = [&](const fs::path& p, gid_t group, mode_t mode) {
        ASSERT_EQ(lchown(p.c_str(), -1, group), 0);
        chmodTo(p, mode);
    };
    const std::vector<Case> cases{
        {"ours, 0755 and 0644", [] {}, plugin, std::nullopt},
        {"below a folder of another user", [&] { chownTo(app); }, plugin, app.string() + " belongs to another user",
         true},
        {"below a sticky 1777 folder", [&] { chmodTo(app, 01777); }, plugin, std::nullopt},
        {"below a 0777 folder", [&] { chmodTo(app, 0777); }, plugin, "others may write to " + app.string()},
        {"in a sticky 1777 folder", [&] { chmodTo(lib, 01777); }, plugin, "others may write to " + lib.string()},
        {"in a 0775 folder of group root", [&] { groupWritable(lib, 0, 0775); }, plugin, std::nullopt, true},
        {"in a 0775 folder of group nogroup", [&] { groupWritable(lib, nobody, 0775); }, plugin,
         "the group nogroup, which has other members, may write to " + lib.string(), true},
        {"below a 0775 folder of a group not in the database", [&] { groupWritable(app, 4242, 0775); }, plugin,
         "the group 4242, which is not in the group database, may write to " + app.string(), true},
        {"a 0664 file of group nogroup", [&] { groupWritable(plugin, nobody, 0664); }, plugin,
         "the group nogroup, which has other members, may write to " + plugin.string(), true},
        {"through a link to a folder of ours", [&] { fs::create_directory_symlink(lib, app / "linked"); },
         (app / "linked/plugin.so").string(), (app / "linked").string() + " is a symbolic link"},
        {"a folder", [] {}, lib.string(), lib.string() + " is not a regular file"},
        {"absent", [] {}, (lib / "none.so").string(), (lib / "none.so").string() + ": No such file or directory"},
        {"relative", [] {}, "lib/plugin.so", "lib/plugin.so is not an absolute path"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && geteuid() != 0) continue;
        fs::create_directories(lib);
        chmodTo(app, 0755);
        chmodTo(lib, 0755);
        std::ofstream(plugin) << "plugin";
        chmodTo(plugin, 0644);
        c.plant();
        EXPECT_EQ(trustedFileProblem(c.path), c.problem);
        fs::remove_all(app);
    }
    fs::remove_all(base);
}

}  // namespace
}  // namespace solvara
