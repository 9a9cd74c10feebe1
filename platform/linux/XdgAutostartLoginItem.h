#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/LoginItem.h"

namespace solvara {

// Launch at login as an XDG autostart entry, $XDG_CONFIG_HOME/autostart/solvara.desktop
// (~/.config when the variable is unset). The entry is there or not: what the desktop will do
// at the next login is read from the file itself every time.
//
// The entry says what runs as the user at each login, so it is written only in an autostart
// folder of the user's own that no one else may write to, or one a link of the user's own leads
// to (PrivateDirectory.h): in any other, switching on fails and says why, and the getter still
// reports what is there. Switching off works in any folder as long as the entry is a regular
// file of the user's (removed without following a link); anything else at its name there is
// left alone and switching off fails. The entry is written through a temporary file made afresh
// (O_EXCL), renamed over it; no link inside the folder is followed, whoever planted it.
class XdgAutostartLoginItem : public LoginItem {
public:
    // `executable`: the program's absolute path for the entry's Exec line. `autostartFolder`:
    // where the entry goes; empty for the XDG default.
    explicit XdgAutostartLoginItem(std::string executable, std::filesystem::path autostartFolder = {});

    bool isRegistered() const override;
    std::optional<std::string> setRegistered(bool registered) override;

    static std::filesystem::path defaultFolder();
    const std::filesystem::path& entryPath() const { return entryPath_; }

    // Exec value quoted as the desktop entry specification asks.
    static std::string quoteExec(const std::string& path);

private:
    std::string executable_;
    std::filesystem::path entryPath_;
};

}  // namespace solvara
