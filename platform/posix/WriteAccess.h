#pragma once

#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

namespace solvara {

// Who besides a file's owner may use the permissions a trust check forbids (the group and other
// bits of `forbidden`, e.g. S_IWGRP | S_IWOTH): the one place that decides it for every check.
//
// An other bit reaches everyone. A group bit reaches the group's members, whom the mode does not
// name: under a private group per user and umask 002 (Debian 13, Ubuntu) everything a user makes
// is group-writable yet reaches no one else. So a group bit is harmless where the group has no
// member but the owner: no other account has it as its primary group (some systems give every
// user one shared "users" group with an empty member list) and its member list names no one
// else. Root never counts as another member, since it may write anywhere already. Refused, to
// be safe: a group not in the group database, one whose accounts could not all be read, a
// listed member who is no known account, and a group bit on a file with an extended access ACL
// (the group bits are then the ACL's mask, which hands the permission on to the users and
// groups the ACL names).
//
// The database is read through NSS at each call that meets a group bit, never cached: the
// checks run at start and when a folder is opened anew. A source that does not list all its
// accounts (LDAP without enumeration) can hide a member who has the group as primary; OpenSSH's
// check of group-writable files rests on the same walk.
struct Outsiders {
    enum class Kind { none, others, group, accessList };

    Kind kind = Kind::none;
    // The forbidden bits the file grants.
    mode_t bits = 0;
    // For a group: it and why it counts, "the group staff, which has other members".
    std::string group = {};

    explicit operator bool() const { return kind != Kind::none; }
    // Reads after "it " or ", which ": "is open to other users", "is open to the group staff,
    // which has other members", "has an access list that lets others write".
    std::string phrase() const;
};

// The accounts and groups a decision needs, as the group and password databases list them.
struct AccountSnapshot {
    struct Account {
        std::string name;
        uid_t uid = 0;
        gid_t primaryGroup = 0;
    };
    struct Group {
        gid_t gid = 0;
        std::string name;
        std::vector<std::string> members;  // by name, as the group entry lists them
    };
    std::vector<Account> accounts;
    std::vector<Group> groups;
    // False when the walk of the accounts broke off: someone may have the group as primary.
    bool complete = true;
};

// The fields of a file's stat the decision reads, and whether it carries an access ACL.
struct FileOwnership {
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    bool accessList = false;
};

// The decision itself, on a snapshot in which the accounts include every one that has the
// file's group as primary or is named in its member list.
Outsiders outsidersOf(const FileOwnership& file, mode_t forbidden, const AccountSnapshot& accounts);

// The decision on the system's databases, for a file opened as `fd` (its ACL read from the
// descriptor) or one looked at with lstat at `path` (its ACL read without following a link).
// `info` is the file's own stat.
Outsiders outsidersOf(int fd, const struct stat& info, mode_t forbidden);
Outsiders outsidersOf(const std::string& path, const struct stat& info, mode_t forbidden);

}  // namespace solvara
