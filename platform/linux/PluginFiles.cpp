#include "platform/linux/PluginFiles.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace solvara {

QString findPluginFile(const QString& fileName) {
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString& path : {folder + "/" + fileName, folder + "/" SOLVARA_PLUGIN_DIR_FROM_BINARY "/" + fileName}) {
        if (QFileInfo::exists(path)) return path;
    }
    return QString();
}

}  // namespace solvara
