#include "platform/posix/PrivateDirectory.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/WriteAccess.h"

namespace solvara {

namespace {

// Why a directory whose details are `info` is not private to this user, or empty; `at` is its
// descriptor or the path looked at, for its access list.
template <typename At>
std::optional<std::string> ownershipProblem(const At& at, const struct stat& info, mode_t forbidden) {
    if (info.st_uid != geteuid()) return "belongs to another user";
    if (const Outsiders outsiders = outsidersOf(at, info, forbidden)) return outsiders.phrase();
    return std::nullopt;
}

// Where the link at `path` leads in the end, for the user to look at.
std::string linkTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
    const ssize_t length = ::readlink(path.c_str(), resolved, sizeof resolved - 1);
    return length > 0 ? std::string(resolved, static_cast<std::size_t>(length)) : path;
}

}  // namespace

std::optional<std::string> privateDirectoryProblem(const std::string& path, mode_t forbidden) {
    // lstat, not stat: a link is refused as a link, whatever it points to.
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return std::string(std::strerror(errno));
    if (S_ISLNK(info.st_mode)) return "it is a symbolic link";
    if (!S_ISDIR(info.st_mode)) return "it is not a directory";
    if (const auto why = ownershipProblem(path, info, forbidden)) return "it " + *why;
    return std::nullopt;
}

OpenedPrivateDirectory openPrivateDirectoryFollowingOwnLink(const std::string& path, mode_t forbidden) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return {.problem = std::strerror(errno)};
    const bool link = S_ISLNK(info.st_mode);
    if (link && info.st_uid != geteuid()) return {.problem = "it is a symbolic link of another user"};
    // Only a link seen as ours is followed: a directory swapped for a link meanwhile fails here.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (link ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        const int error = errno;
        if (!link) {
            if (error == ENOTDIR) return {.problem = "it is not a directory"};
            if (error == ELOOP) return {.problem = "it is a symbolic link"};
            return {.problem = std::strerror(error)};
        }
        if (error == ENOENT) return {.problem = "it is a symbolic link to nothing"};
        const std::string target = "it is a symbolic link to " + linkTarget(path);
        if (error == ENOTDIR) return {.problem = target + ", which is not a directory"};
        return {.problem = target + ": " + std::strerror(error)};
    }
    std::optional<std::string> why;
    if (::fstat(fd, &info) != 0) {
        why = std::strerror(errno);
    } else if (const auto problem = ownershipProblem(fd, info, forbidden)) {
        why = link ? "it is a symbolic link to " + linkTarget(path) + ", which " + *problem : "it " + *problem;
    }
    if (why) {
        ::close(fd);
        return {.problem = why};
    }
    return {.fd = fd, .problem = std::nullopt};
}

}  // namespace solvara
