#include "platform/linux/DesktopFileIndex.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace solvara {
namespace {

std::optional<std::string> startupWMClass(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    bool inMainGroup = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup) continue;
        constexpr std::string_view key = "StartupWMClass";
        if (line.compare(0, key.size(), key) != 0) continue;
        std::size_t pos = key.size();
        while (pos < line.size() && line[pos] == ' ') ++pos;
        if (pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        while (pos < line.size() && line[pos] == ' ') ++pos;
        std::string value = line.substr(pos);
        if (!value.empty()) return value;
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> DesktopFileIndex::standardFolders() {
    std::vector<std::string> folders;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome && *dataHome) {
        folders.push_back(std::string(dataHome) + "/applications");
    } else if (home && *home) {
        folders.push_back(std::string(home) + "/.local/share/applications");
    }
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::stringstream dirs((dataDirs && *dataDirs) ? dataDirs : "/usr/local/share:/usr/share");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (!dir.empty()) folders.push_back(dir + "/applications");
    }
    return folders;
}

DesktopFileIndex::DesktopFileIndex(std::vector<std::string> folders) : folders_(std::move(folders)) {}

void DesktopFileIndex::load() {
    loaded_ = true;
    namespace fs = std::filesystem;
    for (const std::string& folder : folders_) {
        std::error_code error;
        fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
        if (error) continue;
        for (; it != fs::recursive_directory_iterator(); it.increment(error)) {
            if (error) break;
            const fs::path& path = it->path();
            if (path.extension() != ".desktop" || !it->is_regular_file(error)) continue;
            const std::optional<std::string> windowClass = startupWMClass(path);
            if (!windowClass) continue;
            // The id is the path below the applications folder with "/" turned into "-".
            std::string id = fs::relative(path, folder, error).replace_extension().generic_string();
            if (error) continue;
            for (char& c : id) {
                if (c == '/') c = '-';
            }
            byWindowClass_.emplace(*windowClass, id);  // earlier folders take precedence
        }
    }
}

std::optional<std::string> DesktopFileIndex::desktopIdForWindowClass(const std::string& windowClass) {
    if (!loaded_) load();
    auto it = byWindowClass_.find(windowClass);
    if (it == byWindowClass_.end()) return std::nullopt;
    return it->second;
}

}  // namespace solvara
