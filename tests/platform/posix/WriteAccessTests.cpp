#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/posix/WriteAccess.h"

namespace solvara {
namespace {

constexpr mode_t write = S_IWGRP | S_IWOTH;
const std::string othersIn = ", which has other members";

TEST(WriteAccessTest, AGroupBitReachesNoOneElseOnlyWhereTheGroupHasNoOtherMember) {
    // A private group per user, a primary group two accounts share with no member listed, and
    // groups that list their members.
    AccountSnapshot accounts{
        .accounts = {{"root", 0, 0}, {"alice", 1000, 1000}, {"carol", 1002, 100}, {"dave", 1003, 100}},
        .groups = {{0, "root", {}},
                   {100, "users", {}},
                   {1000, "alice", {}},
                   {50, "staff", {"alice"}},
                   {29, "audio", {"alice", "dave"}},
                   {10, "wheel", {"root", "alice"}},
                   {60, "gone", {"alice", "zed"}}},
    };
    const struct {
        const char* name;
        FileOwnership file;
        std::string phrase;  // empty: no one else
        mode_t forbidden = write;
    } cases[] = {
        {"the owner's private group", {040775, 1000, 1000}, ""},
        {"a group listing only the owner", {040775, 1000, 50}, ""},
        {"a group listing the owner and root", {040775, 1000, 10}, ""},
        {"root's group, root's folder", {040775, 0, 0}, ""},
        {"a primary group shared with another account", {040775, 1002, 100}, "is open to the group users" + othersIn},
        {"a group listing one other member", {040775, 1000, 29}, "is open to the group audio" + othersIn},
        {"a group listing a name that is no account", {040775, 1000, 60}, "is open to the group gone" + othersIn},
        {"a gid not in the database",
         {040775, 1000, 4242},
         "is open to the group 4242, which is not in the group database"},
        {"a write bit for others", {040777, 1000, 1000}, "is open to other users"},
        {"an access list and group write", {040775, 1000, 1000, true}, "has an access list that lets others write"},
        {"an access list, no group write", {040755, 1000, 29, true}, ""},
        {"a shared group that may enter",
         {040750, 1002, 100},
         "is open to the group users" + othersIn,
         S_IXGRP | S_IXOTH},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outsiders outsiders = outsidersOf(c.file, c.forbidden, accounts);
        EXPECT_EQ(static_cast<bool>(outsiders), !c.phrase.empty());
        EXPECT_EQ(outsiders.phrase(), c.phrase);
    }
    accounts.complete = false;
    EXPECT_EQ(outsidersOf({040775, 1000, 1000}, write, accounts).phrase(),
              "is open to the group alice, whose members could not be listed");
}

// The access list is read from the folder itself, through its descriptor or its path.
TEST(WriteAccessTest, AnAccessListOnTheFolderIsSeen) {
    std::string folder = std::string(SOLVARA_TEST_SCRATCH) + "/acl-XXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    // As the kernel keeps it: user::rwx, user:nobody:rwx, group::r-x, mask::rwx, other::r-x.
    const std::string acl(
        "\x02\0\0\0"
        "\x01\0\x07\0\xff\xff\xff\xff"
        "\x02\0\x07\0\xfe\xff\0\0"
        "\x04\0\x05\0\xff\xff\xff\xff"
        "\x10\0\x07\0\xff\xff\xff\xff"
        "\x20\0\x05\0\xff\xff\xff\xff",
        44);
    if (::setxattr(folder.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0) {
        const int error = errno;
        ::rmdir(folder.c_str());
        GTEST_SKIP() << "no access lists here: " << std::strerror(error);
    }
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0775u) << "the mask shows as the group bits";
    EXPECT_EQ(outsidersOf(folder, info, write).kind, Outsiders::Kind::accessList);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(outsidersOf(fd, info, write).kind, Outsiders::Kind::accessList);
    ::close(fd);
    ::rmdir(folder.c_str());
}

}  // namespace
}  // namespace solvara
