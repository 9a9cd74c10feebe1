#include "platform/posix/PosixFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/foundation/Log.h"
#include "platform/posix/PrivateDirectory.h"
#include "platform/posix/WriteAccess.h"

namespace solvara {

namespace {

constexpr std::string_view component = "Files";

std::string errnoText(int error) { return std::strerror(error); }

// Creates `path` and missing parents with mode 0700 (existing ones are left as they are).
bool makeDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = slash == std::string::npos ? path : path.substr(0, slash);
        if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

std::optional<std::string> privateAppDirectory(const std::string& base, bool createBase, const char* what) {
    if (base.empty() || base.front() != '/') {
        Log::write(component, std::string("No usable ") + what + " directory");
        return std::nullopt;
    }
    if (createBase && !makeDirectories(base)) {
        Log::write(component, std::string("Cannot create the ") + what + " directory " + base + ": " + errnoText(errno));
        return std::nullopt;
    }
    // Others may read the base, never write to it: they could swap our directory in it.
    if (const auto why = privateDirectoryProblem(base, S_IWGRP | S_IWOTH)) {
        Log::write(component, std::string("Not using the ") + what + " directory " + base + ": " + *why);
        return std::nullopt;
    }
    const std::string dir = base + (base.back() == '/' ? "" : "/") + PosixFiles::appDirectoryName;
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        Log::write(component, "Cannot create " + dir + ": " + errnoText(errno));
        return std::nullopt;
    }
    if (const auto why = privateDirectoryProblem(dir, S_IRWXG | S_IRWXO)) {
        Log::write(component, "Not using " + dir + ": " + *why);
        return std::nullopt;
    }
    return dir;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::optional<std::string> PosixFiles::runtimeDirectory() {
    if (!runtime_.resolved) {
        runtime_.resolved = true;
        runtime_.path = privateAppDirectory(environment("XDG_RUNTIME_DIR"), false, "runtime");
    }
    return runtime_.path;
}

std::optional<std::string> PosixFiles::stateDirectory() {
    if (!state_.resolved) {
        state_.resolved = true;
        std::string base = environment("XDG_STATE_HOME");
        if (base.empty() || base.front() != '/') {
            const std::string home = environment("HOME");
            base = home.empty() ? "" : home + "/.local/state";
        }
        state_.path = privateAppDirectory(base, true, "state");
    }
    return state_.path;
}

bool PosixFiles::writeAtomically(const std::string& path, std::string_view bytes) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        Log::write(component, "Not an absolute path: " + path);
        return false;
    }
    std::string temp = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".XXXXXX";
    // mkstemp creates exclusively with mode 0600: a planted symlink makes it fail, never followed.
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        Log::write(component, "Cannot write " + path + ": " + errnoText(errno));
        return false;
    }
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<std::size_t>(n);
    }
    int error = ok ? 0 : errno;
    if (ok && fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    // rename() replaces whatever is at `path`, a symlink included, without following it.
    if (ok && rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        Log::write(component, "Cannot write " + path + ": " + errnoText(error));
    }
    return ok;
}

std::optional<std::string> PosixFiles::read(const std::string& path, std::size_t maxBytes) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        noteReadProblem(path, errno == ENOENT ? std::nullopt : std::optional(errnoText(errno)));
        return std::nullopt;
    }
    struct stat info {};
    std::optional<std::string> result;
    if (fstat(fd, &info) != 0) {
        noteReadProblem(path, errnoText(errno));
    } else if (!S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
        noteReadProblem(path, "not a private regular file of this user");
    } else if (const Outsiders writers = outsidersOf(fd, info, S_IWGRP | S_IWOTH)) {
        noteReadProblem(path, writers.kind == Outsiders::Kind::others ? "not a private regular file of this user"
                                                                      : "it " + writers.phrase());
    } else if (static_cast<std::size_t>(info.st_size) <= maxBytes) {
        // One byte beyond the size shows a file that grew while we read: not ours to trust.
        std::string content(static_cast<std::size_t>(info.st_size) + 1, '\0');
        std::size_t done = 0;
        for (;;) {
            const ssize_t n = ::read(fd, content.data() + done, content.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                Log::write(component, "Cannot read " + path + ": " + errnoText(errno));
                break;
            }
            if (n == 0) {
                content.resize(done);
                result = std::move(content);
                break;
            }
            done += static_cast<std::size_t>(n);
            if (done == content.size()) break;
        }
    }
    close(fd);
    if (result) noteReadProblem(path, std::nullopt);
    return result;
}

bool PosixFiles::exists(const std::string& path) const {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

void PosixFiles::noteReadProblem(const std::string& path, std::optional<std::string> why) {
    std::lock_guard lock(readProblemsMutex_);
    if (!why) {
        readProblems_.erase(path);
        return;
    }
    auto [it, added] = readProblems_.try_emplace(path, *why);
    if (!added && it->second == *why) return;
    it->second = *why;
    Log::write(component, "Not reading " + path + ": " + *why);
}

bool PosixFiles::remove(const std::string& path) {
    if (unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    Log::write(component, "Cannot remove " + path + ": " + errnoText(errno));
    return false;
}

std::optional<std::string> PosixFiles::resourcePath(std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return std::nullopt;
    std::string exe(buffer, static_cast<std::size_t>(n));
    const std::string dir = exe.substr(0, exe.rfind('/'));
    for (const std::string& candidate : {dir + "/" + std::string(name), dir + "/../libexec/solvara/" + std::string(name)}) {
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return candidate;
    }
    return std::nullopt;
}

}  // namespace solvara
