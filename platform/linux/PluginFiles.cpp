#include "platform/linux/PluginFiles.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>

#include "platform/posix/TrustedFile.h"

namespace solvara {

PluginFile findPluginFile(const QString& fileName) {
    // The folder of /proc/self/exe's target: no link left in it.
    return findPluginFile(QCoreApplication::applicationDirPath(), SOLVARA_PLUGIN_DIR_FROM_BINARY, fileName);
}

PluginFile findPluginFile(const QString& programFolder, const QString& installedFolder, const QString& fileName) {
    // Cleaned by its text: ".." goes back out of a folder we just came in through, not a link.
    for (const QString& path : {QDir::cleanPath(programFolder + "/" + fileName),
                                QDir::cleanPath(programFolder + "/" + installedFolder + "/" + fileName)}) {
        struct stat info {};
        if (lstat(QFile::encodeName(path).constData(), &info) != 0) continue;
        return {path, trustedFileProblem(QFile::encodeName(path).toStdString())};
    }
    return {};
}

}  // namespace solvara
