#include "platform/posix/WriteAccess.h"

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/xattr.h>

namespace solvara {

namespace {

// Where the kernel keeps an extended access ACL; a file with only the mode has none.
constexpr const char* accessListAttribute = "system.posix_acl_access";
// Far beyond any group or account entry: a larger one is taken as unreadable.
constexpr std::size_t maxEntryBytes = std::size_t{1} << 20;

// setpwent/getpwent_r keep one position for the whole process: two walks at once (the settings
// written on a worker while a plugin is checked) would each skip entries.
std::mutex passwordWalk;

// Whether the answer of a getxattr call for the ACL shows one; an error other than "none" or
// "not supported here" counts as one, to be safe.
bool showsAccessList(ssize_t size) {
    return size >= 0 || (errno != ENODATA && errno != ENOTSUP);
}

// Calls `lookUp(buffer, size)` (a *_r lookup's errno answer) with a buffer grown until the
// entry fits.
template <typename LookUp>
int withBuffer(std::vector<char>& buffer, LookUp lookUp) {
    for (;;) {
        const int error = lookUp(buffer.data(), buffer.size());
        if (error != ERANGE || buffer.size() >= maxEntryBytes) return error;
        buffer.resize(buffer.size() * 2);
    }
}

AccountSnapshot snapshotOfGroup(gid_t gid) {
    AccountSnapshot snapshot;
    std::vector<char> buffer(16384);
    struct group groupEntry {};
    struct group* foundGroup = nullptr;
    withBuffer(buffer,
               [&](char* data, std::size_t size) { return ::getgrgid_r(gid, &groupEntry, data, size, &foundGroup); });
    if (foundGroup == nullptr) return snapshot;  // not in the database, or it could not be read
    AccountSnapshot::Group& group = snapshot.groups.emplace_back();
    group.gid = gid;
    group.name = groupEntry.gr_name;
    for (char** member = groupEntry.gr_mem; member != nullptr && *member != nullptr; ++member) {
        group.members.emplace_back(*member);
    }

    struct passwd account {};
    struct passwd* found = nullptr;
    {
        std::lock_guard lock(passwordWalk);
        ::setpwent();
        for (;;) {
            const int error = withBuffer(
                buffer, [&](char* data, std::size_t size) { return ::getpwent_r(&account, data, size, &found); });
            if (error != 0 || found == nullptr) {
                snapshot.complete = error == 0 || error == ENOENT;
                break;
            }
            if (account.pw_gid == gid) snapshot.accounts.push_back({account.pw_name, account.pw_uid, account.pw_gid});
        }
        ::endpwent();
    }
    // A member may come from a source the walk does not list (LDAP without enumeration).
    for (const std::string& name : group.members) {
        withBuffer(buffer, [&](char* data, std::size_t size) {
            return ::getpwnam_r(name.c_str(), &account, data, size, &found);
        });
        if (found != nullptr) snapshot.accounts.push_back({account.pw_name, account.pw_uid, account.pw_gid});
    }
    return snapshot;
}

// The decision on the system's databases, which are read only when a group bit is granted.
template <typename ReadsAccessList>
Outsiders outsidersOnSystem(const struct stat& info, mode_t forbidden, ReadsAccessList readsAccessList) {
    FileOwnership file{.mode = info.st_mode, .owner = info.st_uid, .group = info.st_gid};
    const mode_t bits = info.st_mode & forbidden;
    if ((bits & S_IRWXG) == 0 || (bits & S_IRWXO) != 0) return outsidersOf(file, forbidden, {});
    file.accessList = readsAccessList();
    if (file.accessList) return outsidersOf(file, forbidden, {});
    return outsidersOf(file, forbidden, snapshotOfGroup(info.st_gid));
}

}  // namespace

std::string Outsiders::phrase() const {
    switch (kind) {
        case Kind::none:
            return "";
        case Kind::others:
            return "is open to other users";
        case Kind::group:
            return "is open to " + group;
        case Kind::accessList:
            return (bits & S_IWGRP) != 0 ? "has an access list that lets others write"
                                         : "has an access list that lets others in";
    }
    return "";
}

Outsiders outsidersOf(const FileOwnership& file, mode_t forbidden, const AccountSnapshot& accounts) {
    const mode_t bits = file.mode & forbidden & (S_IRWXG | S_IRWXO);
    if ((bits & S_IRWXO) != 0) return {.kind = Outsiders::Kind::others, .bits = bits};
    if (bits == 0) return {};
    if (file.accessList) return {.kind = Outsiders::Kind::accessList, .bits = bits};
    const auto group = std::find_if(accounts.groups.begin(), accounts.groups.end(),
                                    [&](const AccountSnapshot::Group& g) { return g.gid == file.group; });
    const auto refused = [&](std::string why) {
        return Outsiders{.kind = Outsiders::Kind::group, .bits = bits, .group = std::move(why)};
    };
    if (group == accounts.groups.end()) {
        return refused("the group " + std::to_string(file.group) + ", which is not in the group database");
    }
    if (!accounts.complete) return refused("the group " + group->name + ", whose members could not be listed");
    const auto another = [&](uid_t uid) { return uid != file.owner && uid != 0; };
    const bool anotherHasItAsPrimary =
        std::any_of(accounts.accounts.begin(), accounts.accounts.end(),
                    [&](const AccountSnapshot::Account& a) { return a.primaryGroup == file.group && another(a.uid); });
    // A listed name with no account behind it lets in whoever is given that name later.
    const bool anotherIsListed =
        std::any_of(group->members.begin(), group->members.end(), [&](const std::string& name) {
            const auto account = std::find_if(accounts.accounts.begin(), accounts.accounts.end(),
                                              [&](const AccountSnapshot::Account& a) { return a.name == name; });
            return account == accounts.accounts.end() || another(account->uid);
        });
    if (!anotherHasItAsPrimary && !anotherIsListed) return {};
    return refused("the group " + group->name + ", which has other members");
}

Outsiders outsidersOf(int fd, const struct stat& info, mode_t forbidden) {
    return outsidersOnSystem(info, forbidden,
                             [&] { return showsAccessList(::fgetxattr(fd, accessListAttribute, nullptr, 0)); });
}

Outsiders outsidersOf(const std::string& path, const struct stat& info, mode_t forbidden) {
    return outsidersOnSystem(
        info, forbidden, [&] { return showsAccessList(::lgetxattr(path.c_str(), accessListAttribute, nullptr, 0)); });
}

}  // namespace solvara
