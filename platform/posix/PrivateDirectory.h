#pragma once

#include <optional>
#include <string>

#include <sys/types.h>

namespace solvara {

// Why `path` is no directory this user may keep private files in, or empty when it is one: it
// cannot be looked at (the error's text), is a symbolic link, is not a directory, belongs to
// another user, or grants anyone else any of the `forbidden` mode bits (S_IWGRP | S_IWOTH for a
// directory others must not write to; a group bit counts only where the group has another
// member, WriteAccess.h). The answer reads after "Not using <path>: ", e.g. "it is open to the
// group staff, which has other members".
std::optional<std::string> privateDirectoryProblem(const std::string& path, mode_t forbidden);

// A directory opened for private files: the descriptor (owned by the caller, -1 when refused)
// or why not, read after "Not using <path>: ".
struct OpenedPrivateDirectory {
    int fd = -1;
    std::optional<std::string> problem;
};

// Opens `path` as privateDirectoryProblem checks it, except that a symbolic link of this user's
// is followed when the directory it reaches passes the same checks (dotfiles kept elsewhere and
// linked in). A link of another user is refused: only someone who may write to the folder that
// holds it can have put it there. The checks are made on the opened directory itself: files
// made through the descriptor (openat, renameat) land there even when the link is changed later.
OpenedPrivateDirectory openPrivateDirectoryFollowingOwnLink(const std::string& path, mode_t forbidden);

}  // namespace solvara
