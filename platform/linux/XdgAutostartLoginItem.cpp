#include "platform/linux/XdgAutostartLoginItem.h"

#include "platform/linux/DesktopEntryTemplate.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

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
    std::error_code error;
    if (!registered) {
        if (!std::filesystem::remove(entryPath_, error) && error) {
            return "could not remove " + entryPath_.string() + ": " + error.message();
        }
        return std::nullopt;
    }

    std::filesystem::create_directories(entryPath_.parent_path(), error);
    if (error) return "could not create " + entryPath_.parent_path().string() + ": " + error.message();

    // The installed desktop entry, with this program's own path.
    std::string contents = solvaraDesktopEntryTemplate;
    const std::string placeholder = "@SOLVARA_EXEC@";
    contents.replace(contents.find(placeholder), placeholder.size(), quoteExec(executable_));
    // Written beside the entry and renamed over it, so a crash never leaves half an entry.
    const std::string temporary = entryPath_.string() + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return systemError("could not write " + temporary, errno);
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int saved = errno;
            ::close(fd);
            ::unlink(temporary.c_str());
            return systemError("could not write " + temporary, saved);
        }
        done += static_cast<std::size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    if (::close(fd) != 0 || !synced) {
        const int saved = synced ? errno : syncError;
        ::unlink(temporary.c_str());
        return systemError("could not write " + temporary, saved);
    }
    if (::rename(temporary.c_str(), entryPath_.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        return systemError("could not write " + entryPath_.string(), saved);
    }
    return std::nullopt;
}

}  // namespace solvara
