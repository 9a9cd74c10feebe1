#include "platform/linux/XdgAutostartLoginItem.h"

#include "platform/linux/DesktopEntryTemplate.h"
#include "platform/posix/PrivateDirectory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <utility>

namespace solvara {
namespace {

// Reads a key of the [Desktop Entry] group.
std::optional<std::string> entryValue(const std::filesystem::path& file, std::string_view key) {
    std::ifstream in(file);
    std::string line;
    bool inMainGroup = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup || line.compare(0, key.size(), key) != 0) continue;
        std::size_t pos = key.size();
        while (pos < line.size() && line[pos] == ' ') ++pos;
        if (pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        while (pos < line.size() && line[pos] == ' ') ++pos;
        return line.substr(pos);
    }
    return std::nullopt;
}

std::string systemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    ~FileDescriptor() { close(); }

    int get() const { return fd_; }
    // close(2)'s answer; 0 when there was nothing to close.
    int close() { return fd_ < 0 ? 0 : ::close(std::exchange(fd_, -1)); }

private:
    int fd_ = -1;
};

// Switching off must work wherever the entry is, or the user could not stop the program from
// starting at login: the user's own entry is removed even from a folder refused for writing.
// Only a regular file of the user's is: anything else at the name (a link, another user's file)
// is no entry we wrote, so it stays and `refused` says why the folder is not used. Someone who
// may write to the folder could swap the name between the look and the removal; they would lose
// only what they put there, and unlinkat follows no link.
std::optional<std::string> removeOwnEntry(const std::filesystem::path& folder, const std::string& entryName,
                                          const std::string& refused) {
    const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return refused;
    struct stat entry {};
    if (::fstatat(dir.get(), entryName.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return std::nullopt;
        return refused;
    }
    if (!S_ISREG(entry.st_mode) || entry.st_uid != ::geteuid()) return refused;
    if (::unlinkat(dir.get(), entryName.c_str(), 0) != 0 && errno != ENOENT) {
        return systemError("could not remove " + (folder / entryName).string(), errno);
    }
    return std::nullopt;
}

}  // namespace

std::filesystem::path XdgAutostartLoginItem::defaultFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && *configHome == '/') return std::filesystem::path(configHome) / "autostart";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "") / ".config" / "autostart";
}

XdgAutostartLoginItem::XdgAutostartLoginItem(std::string executable, std::filesystem::path autostartFolder)
    : executable_(std::move(executable)),
      entryPath_((autostartFolder.empty() ? defaultFolder() : autostartFolder) / "solvara.desktop") {}

std::string XdgAutostartLoginItem::quoteExec(const std::string& path) {
    const bool needsQuotes = path.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string out;
    if (needsQuotes) out += '"';
    for (char c : path) {
        if (c == '%') {
            out += "%%";
            continue;
        }
        if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
        out += c;
    }
    if (needsQuotes) out += '"';
    return out;
}

bool XdgAutostartLoginItem::isRegistered() const {
    std::error_code error;
    if (!std::filesystem::is_regular_file(entryPath_, error)) return false;
    // A desktop may switch an entry off instead of deleting it.
    if (entryValue(entryPath_, "Hidden") == "true") return false;
    if (entryValue(entryPath_, "X-GNOME-Autostart-enabled") == "false") return false;
    return true;
}

std::optional<std::string> XdgAutostartLoginItem::setRegistered(bool registered) {
    const std::filesystem::path folder = entryPath_.parent_path();
    std::error_code error;
    if (registered) {
        std::filesystem::create_directories(folder.parent_path(), error);
        if (error) return "could not create " + folder.parent_path().string() + ": " + error.message();
        // Made here rather than left to chance: in a config home others may write to (a shared
        // 1777 one), theirs could otherwise be the folder the entry goes into.
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
            return systemError("could not create " + folder.string(), errno);
        }
    } else if (struct stat info{}; ::stat(folder.c_str(), &info) != 0 && errno == ENOENT) {
        return std::nullopt;  // no folder, or a link to none: no entry to remove
    }

    // In a folder another user owns or may write to, they could rewrite the entry's Exec line
    // or swap the entry: no entry is written there, as no settings are. A link of the user's
    // own (dotfiles kept elsewhere) is followed to a folder that passes the same checks.
    // Everything from here goes through the descriptor of the folder checked, so a folder or
    // link swapped in afterwards is never written to.
    const std::string entryName = entryPath_.filename().string();
    const OpenedPrivateDirectory opened = openPrivateDirectoryFollowingOwnLink(folder.string(), S_IWGRP | S_IWOTH);
    if (opened.problem) {
        const std::string refused = "Not using the autostart folder " + folder.string() + ": " + *opened.problem;
        return registered ? refused : removeOwnEntry(folder, entryName, refused);
    }
    const FileDescriptor dir(opened.fd);

    if (!registered) {
        if (::unlinkat(dir.get(), entryName.c_str(), 0) != 0 && errno != ENOENT) {
            return systemError("could not remove " + entryPath_.string(), errno);
        }
        return std::nullopt;
    }

    // The installed desktop entry, with this program's own path.
    std::string contents = solvaraDesktopEntryTemplate;
    const std::string placeholder = "@SOLVARA_EXEC@";
    contents.replace(contents.find(placeholder), placeholder.size(), quoteExec(executable_));

    // Written under a new name of its own and renamed over the entry, so a crash never leaves half
    // an entry. O_EXCL makes the file ours alone: a name taken by anything, a link included, is
    // never opened but passed over for another.
    std::random_device random;
    std::string temporary;
    FileDescriptor file;
    int openError = EEXIST;
    for (int attempt = 0; attempt < 16 && openError == EEXIST; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
        temporary = entryName + suffix;
        file = FileDescriptor(
            ::openat(dir.get(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        openError = file.get() < 0 ? errno : 0;
    }
    const std::string shownTemporary = (folder / temporary).string();
    if (openError != 0) return systemError("could not write " + shownTemporary, openError);
    const auto failed = [&](const std::string& what, int saved) {
        ::unlinkat(dir.get(), temporary.c_str(), 0);
        return systemError(what, saved);
    };
    for (std::size_t done = 0; done < contents.size();) {
        const ssize_t n = ::write(file.get(), contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return failed("could not write " + shownTemporary, n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    // Readable by all as an installed entry is; writable by the user alone.
    if (::fchmod(file.get(), 0644) != 0 || ::fsync(file.get()) != 0) {
        return failed("could not write " + shownTemporary, errno);
    }
    if (file.close() != 0) return failed("could not write " + shownTemporary, errno);
    // rename replaces whatever is at the entry's name, a link included, without following it.
    if (::renameat(dir.get(), temporary.c_str(), dir.get(), entryName.c_str()) != 0) {
        return failed("could not write " + entryPath_.string(), errno);
    }
    return std::nullopt;
}

}  // namespace solvara
