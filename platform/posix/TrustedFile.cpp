#include "platform/posix/TrustedFile.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/WriteAccess.h"

namespace solvara {

namespace {

std::optional<std::string> partProblem(const std::string& part, bool file, bool holdsFile) {
    // lstat: a link is refused as such, since the folders it leads through are not checked here.
    struct stat info {};
    if (lstat(part.c_str(), &info) != 0) return part + ": " + std::strerror(errno);
    if (S_ISLNK(info.st_mode)) return part + " is a symbolic link";
    if (file && !S_ISREG(info.st_mode)) return part + " is not a regular file";
    if (!file && !S_ISDIR(info.st_mode)) return part + " is not a directory";
    if (info.st_uid != geteuid() && info.st_uid != 0) return part + " belongs to another user";
    const Outsiders writers = outsidersOf(part, info, S_IWGRP | S_IWOTH);
    if (!writers) return std::nullopt;
    // Higher up, a sticky folder (/tmp) keeps the entry below it, which must be ours or root's,
    // where it is: no one else may rename or remove it.
    if (!file && !holdsFile && (info.st_mode & S_ISVTX) != 0) return std::nullopt;
    switch (writers.kind) {
        case Outsiders::Kind::group:
            return writers.group + ", may write to " + part;
        case Outsiders::Kind::accessList:
            return part + " " + writers.phrase();
        default:
            return "others may write to " + part;
    }
}

}  // namespace

std::optional<std::string> trustedFileProblem(const std::string& path) {
    if (path.empty() || path.front() != '/') return path + " is not an absolute path";
    if (path.find_first_not_of('/') == std::string::npos) return path + " is not a regular file";
    const std::size_t lastSlash = path.find_last_of('/', path.find_last_not_of('/'));
    if (auto why = partProblem("/", false, lastSlash == 0)) return why;
    for (std::size_t start = 1; start < path.size();) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            const bool file = path.find_first_not_of('/', end) == std::string::npos;
            if (auto why = partProblem(path.substr(0, end), file, end == lastSlash)) return why;
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace solvara
