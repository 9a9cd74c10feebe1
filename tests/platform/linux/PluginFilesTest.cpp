#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/PluginFiles.h"

namespace solvara {
namespace {

namespace fs = std::filesystem;

// The program in <case>/bin, installed plugins in <case>/lib/solvara; below a folder of the
// build tree, whose folders are ours and closed to others.
TEST(PluginFilesTest, APluginAnotherUserCouldHavePlantedIsFoundButRefused) {
    std::string pattern = std::string(SOLVARA_TEST_SCRATCH) + "/plugins-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path bin = fs::path(pattern) / "bin";
    const fs::path installed = fs::path(pattern) / "lib/solvara";
    const fs::path beside = bin / "solvara-audio.so";
    const fs::path inLib = installed / "solvara-audio.so";
    const auto put = [](const fs::path& file) { std::ofstream(file) << "plugin"; };
    const auto toNobody = [](const fs::path& p) { ASSERT_EQ(lchown(p.c_str(), 65534, 65534), 0); };
    struct Case {
        const char* name;
        std::function<void()> plant;
        fs::path found;
        std::optional<std::string> refusal;
        bool needsRoot = false;  // to give files to another user
    };
    const std::vector<Case> cases{
        {"none", [] {}, {}, std::nullopt},
        {"ours beside the program", [&] { put(beside); }, beside, std::nullopt},
        {"ours where the install puts it", [&] { put(inLib); }, inLib, std::nullopt},
        {"beside, of another user", [&] { put(beside), toNobody(beside); }, beside,
         beside.string() + " belongs to another user", true},
        {"in a program folder of another user", [&] { put(beside), toNobody(bin); }, beside,
         bin.string() + " belongs to another user", true},
        {"installed below a 0777 folder", [&] { put(inLib), fs::permissions(installed.parent_path(), fs::perms::all); },
         inLib, "others may write to " + installed.parent_path().string()},
        {"a link beside to ours installed", [&] { put(inLib), fs::create_symlink(inLib, beside); }, beside,
         beside.string() + " is a symbolic link"},
        {"planted beside, ours installed: the planted one is not passed over",
         [&] { put(inLib), put(beside), toNobody(beside); }, beside, beside.string() + " belongs to another user",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && geteuid() != 0) continue;
        fs::create_directories(bin);
        fs::create_directories(installed);
        c.plant();
        const PluginFile plugin =
            findPluginFile(QString::fromStdString(bin.string()), "../lib/solvara", "solvara-audio.so");
        EXPECT_EQ(plugin.path.toStdString(), c.found.string());
        EXPECT_EQ(plugin.refusal, c.refusal);
        fs::remove_all(bin);
        fs::remove_all(installed.parent_path());
    }
    fs::remove_all(pattern);
}

}  // namespace
}  // namespace solvara
