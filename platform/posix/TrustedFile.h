#pragma once

#include <optional>
#include <string>

namespace solvara {

// Why the file at `path` (absolute, no "." or ".." parts) may hold what someone other than this
// user or root put there, or empty when it cannot: every folder from the filesystem root down,
// and the file itself, must be a real folder or a regular file (not a link), belong to this user
// or to root, and grant no one else write permission (WriteAccess.h: a group counts only where
// it has a member besides the part's owner and root). That also holds the path still: whoever
// could swap a folder or the file between this answer and a later open is this user or root.
//
// The file's own folder fails when others may write to it, sticky or not (/tmp): the sticky bit
// keeps our own entries in place, but others can still put a root-owned file there under a name
// we look for (a hard link to any system file where fs.protected_hardlinks is off, or a file a
// root service leaves for them), and that file would pass every other test. A sticky folder
// higher up (a build tree in /tmp) is fine: the folder below it must be ours or root's, and the
// sticky bit lets no one else rename or remove it. Group write passes for a group of no one else
// (a private group under umask 002), as under Debian's OpenSSH StrictModes; an ACL that lets
// anyone write shows in the group bits as its mask and fails.
//
// The answer reads after "Not loading <path>: ", e.g. "others may write to /opt/shared", "the
// group staff, which has other members, may write to /opt/shared" or "/opt/shared has an access
// list that lets others write".
std::optional<std::string> trustedFileProblem(const std::string& path);

}  // namespace solvara
