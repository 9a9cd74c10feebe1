#pragma once

#include <optional>
#include <string>

#include <sys/types.h>

namespace solvara {

// Why `path` is no directory this user may keep private files in, or empty when it is one: it
// cannot be looked at (the error's text), is a symbolic link, is not a directory, belongs to
// another user, or grants others any of the `forbidden` mode bits (S_IWGRP | S_IWOTH for a
// directory others must not write to). The answer reads after "Not using <path>: ".
std::optional<std::string> privateDirectoryProblem(const std::string& path, mode_t forbidden);

}  // namespace solvara
