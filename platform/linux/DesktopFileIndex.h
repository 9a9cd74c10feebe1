#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace solvara {

// The installed desktop entries (XDG applications folders) by the window class they declare
// (StartupWMClass), answering the entry's desktop-file id ("org.gnome.Terminal"). Read once,
// at the first look-up.
class DesktopFileIndex {
public:
    // The applications folders in XDG order of precedence: $XDG_DATA_HOME/applications, then
    // each of $XDG_DATA_DIRS (default /usr/local/share:/usr/share) with /applications.
    static std::vector<std::string> standardFolders();

    explicit DesktopFileIndex(std::vector<std::string> folders = standardFolders());

    // The id of the first entry, in folder precedence, whose StartupWMClass equals `windowClass`.
    std::optional<std::string> desktopIdForWindowClass(const std::string& windowClass);

private:
    void load();

    std::vector<std::string> folders_;
    bool loaded_ = false;
    std::map<std::string, std::string> byWindowClass_;
};

}  // namespace solvara
