#include "platform/posix/PrivateDirectory.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace solvara {

std::optional<std::string> privateDirectoryProblem(const std::string& path, mode_t forbidden) {
    // lstat, not stat: a link is refused as a link, whatever it points to.
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return std::string(std::strerror(errno));
    if (S_ISLNK(info.st_mode)) return "it is a symbolic link";
    if (!S_ISDIR(info.st_mode)) return "it is not a directory";
    if (info.st_uid != geteuid()) return "it belongs to another user";
    if ((info.st_mode & forbidden) != 0) return "it is open to other users";
    return std::nullopt;
}

}  // namespace solvara
