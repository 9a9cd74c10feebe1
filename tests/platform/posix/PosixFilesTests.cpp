#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/posix/PosixFiles.h"
#include "tests/support/LogCapture.h"

namespace solvara {
namespace {

namespace fs = std::filesystem;

class PosixFilesTest : public ::testing::Test {
protected:
    PosixFilesTest() {
        std::string pattern = (fs::temp_directory_path() / "solvara-files-XXXXXX").string();
        root = mkdtemp(pattern.data());
        fs::create_directory(root / "run");
        fs::permissions(root / "run", fs::perms::owner_all, fs::perm_options::replace);
        setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
        setenv("XDG_STATE_HOME", (root / "state" / "deep").c_str(), 1);
    }
    ~PosixFilesTest() override {
        unsetenv("XDG_RUNTIME_DIR");
        unsetenv("XDG_STATE_HOME");
        fs::remove_all(root);
    }
    static mode_t modeOf(const fs::path& p) {
        struct stat info {};
        lstat(p.c_str(), &info);
        return info.st_mode & 07777;
    }

    fs::path root;
    testing::LogCapture log;
};

TEST_F(PosixFilesTest, PrivateDirectoriesAreCreatedClosedToOthers) {
    PosixFiles files;
    ASSERT_EQ(files.runtimeDirectory(), (root / "run" / "solvara").string());
    EXPECT_EQ(modeOf(root / "run" / "solvara"), 0700u);
    ASSERT_EQ(files.stateDirectory(), (root / "state" / "deep" / "solvara").string());
    EXPECT_EQ(modeOf(root / "state" / "deep"), 0700u);
}

TEST_F(PosixFilesTest, RefusesDirectoriesSomeoneElseCouldControl) {
    fs::create_directory_symlink(root, root / "run" / "solvara");
    PosixFiles planted;
    EXPECT_FALSE(planted.runtimeDirectory());
    EXPECT_TRUE(log.contains("it is a symbolic link"));

    fs::permissions(root / "run", fs::perms::all, fs::perm_options::replace);
    PosixFiles open;
    EXPECT_FALSE(open.runtimeDirectory());
    EXPECT_TRUE(log.contains("open to other users"));

    // Made under umask 002: root's group has no one else in it, nogroup has.
    if (geteuid() == 0) {
        fs::remove(root / "run" / "solvara");
        ASSERT_EQ(chmod((root / "run").c_str(), 0775), 0);
        ASSERT_EQ(lchown((root / "run").c_str(), -1, 0), 0);
        EXPECT_EQ(PosixFiles().runtimeDirectory(), (root / "run" / "solvara").string());
        ASSERT_EQ(lchown((root / "run").c_str(), -1, 65534), 0);
        EXPECT_FALSE(PosixFiles().runtimeDirectory());
        EXPECT_TRUE(log.contains("Not using the runtime directory " + (root / "run").string() +
                                 ": it is open to the group nogroup, which has other members"));
    }

    unsetenv("XDG_RUNTIME_DIR");
    PosixFiles none;
    EXPECT_FALSE(none.runtimeDirectory());
}

TEST_F(PosixFilesTest, WritesAtomicallyAsPrivateFilesAndNeverThroughALink) {
    PosixFiles files;
    const std::string dir = *files.runtimeDirectory();
    const std::string path = dir + "/solvara_ns_target";
    ASSERT_TRUE(files.writeAtomically(path, "3400"));
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(files.read(path, 16), "3400");
    ASSERT_TRUE(files.writeAtomically(path, "0"));
    EXPECT_EQ(files.read(path, 16), "0");

    // A link planted at the path is replaced; its target stays untouched.
    const fs::path victim = root / "victim";
    std::ofstream(victim) << "precious";
    fs::remove(path);
    fs::create_symlink(victim, path);
    EXPECT_FALSE(files.read(path, 16));  // never read through a link either
    ASSERT_TRUE(files.writeAtomically(path, "2700"));
    EXPECT_FALSE(fs::is_symlink(path));
    std::ifstream in(victim);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "precious");

    EXPECT_FALSE(files.writeAtomically(root.string() + "/missing/dir/file", "1"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporaries left
}

TEST_F(PosixFilesTest, ReadRefusesFilesTooLongOrOpenToOthers) {
    PosixFiles files;
    const std::string dir = *files.runtimeDirectory();
    ASSERT_TRUE(files.writeAtomically(dir + "/long", "12345678901234567"));
    EXPECT_FALSE(files.read(dir + "/long", 16));
    EXPECT_TRUE(files.read(dir + "/long", 17));
    chmod((dir + "/long").c_str(), 0622);
    EXPECT_FALSE(files.read(dir + "/long", 17));
    if (geteuid() == 0) {  // root's group has no one else in it, nogroup has
        chmod((dir + "/long").c_str(), 0664);
        ASSERT_EQ(lchown((dir + "/long").c_str(), -1, 0), 0);
        EXPECT_TRUE(files.read(dir + "/long", 17));
        ASSERT_EQ(lchown((dir + "/long").c_str(), -1, 65534), 0);
        EXPECT_FALSE(files.read(dir + "/long", 17));
        EXPECT_TRUE(log.contains("/long: it is open to the group nogroup, which has other members"));
    }
    EXPECT_FALSE(files.read(dir + "/absent", 16));
    EXPECT_FALSE(files.read(dir, 16));  // a directory
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    EXPECT_FALSE(files.read(dir + "/fifo", 16));  // returns at once, with no writer
    // The buffer follows the file, never the limit: a terabyte's would not even be allocated.
    chmod((dir + "/long").c_str(), 0600);
    EXPECT_EQ(files.read(dir + "/long", std::size_t{1} << 40), "12345678901234567");

    // Read again and again (as the helper polls), a refusal is said once until it changes.
    log.lines.clear();
    mkfifo((dir + "/polled").c_str(), 0600);
    for (int poll = 0; poll < 3; ++poll) EXPECT_FALSE(files.read(dir + "/polled", 16));
    chmod((dir + "/polled").c_str(), 0622);
    for (int poll = 0; poll < 3; ++poll) EXPECT_FALSE(files.read(dir + "/polled", 16));
    EXPECT_EQ(log.lines.size(), 1u) << "same reason, whatever the mode";
    EXPECT_TRUE(files.remove(dir + "/polled"));
    ASSERT_TRUE(files.writeAtomically(dir + "/polled", "1"));
    EXPECT_TRUE(files.read(dir + "/polled", 16));
    symlink("long", (dir + "/polled.link").c_str());
    for (int poll = 0; poll < 3; ++poll) EXPECT_FALSE(files.read(dir + "/polled.link", 16));
    EXPECT_EQ(log.lines.size(), 2u) << "a symlink is refused for a reason of its own";

    EXPECT_TRUE(files.remove(dir + "/long"));
    EXPECT_TRUE(files.remove(dir + "/long"));  // already gone counts as done
}

TEST_F(PosixFilesTest, AnythingAtAPathExistsEvenADanglingLink) {
    PosixFiles files;
    const std::string dir = *files.runtimeDirectory();
    ASSERT_TRUE(files.writeAtomically(dir + "/file", "1"));
    fs::create_symlink(dir + "/nowhere", dir + "/dangling");
    const struct {
        std::string path;
        bool exists;
    } cases[] = {
        {dir + "/file", true},    {dir + "/dangling", true},    {dir, true},
        {dir + "/absent", false}, {dir + "/file/below", false},
    };
    for (const auto& c : cases) EXPECT_EQ(files.exists(c.path), c.exists) << c.path;
}

TEST_F(PosixFilesTest, ResourcesAreFoundNextToTheExecutable) {
    PosixFiles files;
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    ASSERT_GT(n, 0);
    const std::string self(buffer, static_cast<std::size_t>(n));
    const std::string name = self.substr(self.rfind('/') + 1);
    EXPECT_EQ(files.resourcePath(name), self);
    EXPECT_FALSE(files.resourcePath("no-such-resource"));
    EXPECT_FALSE(files.resourcePath("../" + name));
}

}  // namespace
}  // namespace solvara
