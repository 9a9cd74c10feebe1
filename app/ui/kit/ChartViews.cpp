#include "app/ui/kit/ChartViews.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPluginLoader>
#include <QStringList>

#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "Charts";
constexpr const char* pluginFile = "solvara-charts.so";

ChartViewFactory* findFactory() {
    for (QObject* instance : QPluginLoader::staticInstances()) {
        if (auto* factory = qobject_cast<ChartViewFactory*>(instance)) return factory;
    }
    // Beside the executable in the build tree; installed, where the install puts it (a path
    // relative to the executable's folder, so that any prefix works).
    const QString folder = QCoreApplication::applicationDirPath();
    const QStringList candidates{folder + "/" + pluginFile,
                                 folder + "/" SOLVARA_PLUGIN_DIR_FROM_BINARY "/" + pluginFile};
    for (const QString& path : candidates) {
        if (!QFileInfo::exists(path)) continue;
        // The loader stays loaded for the rest of the process: the views it made live on.
        QPluginLoader loader(path);
        if (auto* factory = qobject_cast<ChartViewFactory*>(loader.instance())) return factory;
        Log::write(component, "Cannot load " + path.toStdString() + ": " + loader.errorString().toStdString() +
                                  "; showing the data without charts");
        return nullptr;
    }
    Log::write(component, std::string("No ") + pluginFile + " beside the program: showing the data without charts");
    return nullptr;
}

}  // namespace

ChartViewFactory* chartViewFactory() {
    static ChartViewFactory* const factory = findFactory();
    return factory;
}

}  // namespace solvara
