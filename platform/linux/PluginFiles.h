#pragma once

#include <optional>
#include <string>

#include <QString>

namespace solvara {

// One of the program's own plugins, as found on disk.
struct PluginFile {
    QString path;                        // empty when there is none
    std::optional<std::string> refusal;  // why it must not be loaded (TrustedFile.h)
};

// Where the program's own plugin `fileName` is: beside the executable (the build tree), else where
// the install puts them (lib/solvara, reached from the executable's folder, so any prefix works).
// The first of the two where anything is, even a dangling link, decides: a plugin someone else
// could have put or changed there is refused rather than passed over for the other.
//
// A plugin runs as the user, so it is loaded only when no one but the user and root could have
// written it or any folder on its way from the filesystem root. It is then loaded by its path:
// between the check and the load, only this user or root could swap it, and they need no plugin
// to run code as the user.
PluginFile findPluginFile(const QString& fileName);

// The same from the program folder given (absolute, without links), with `installedFolder` the
// install's plugin folder relative to it ("../lib/solvara").
PluginFile findPluginFile(const QString& programFolder, const QString& installedFolder, const QString& fileName);

}  // namespace solvara
