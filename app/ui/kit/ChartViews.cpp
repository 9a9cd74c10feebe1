#include "app/ui/kit/ChartViews.h"

#include <QPluginLoader>

#include "core/foundation/Log.h"
#include "platform/linux/PluginFiles.h"

namespace solvara {

namespace {

constexpr std::string_view component = "Charts";
constexpr const char* pluginFile = "solvara-charts.so";

ChartViewFactory* findFactory() {
    for (QObject* instance : QPluginLoader::staticInstances()) {
        if (auto* factory = qobject_cast<ChartViewFactory*>(instance)) return factory;
    }
    const PluginFile plugin = findPluginFile(pluginFile);
    if (plugin.path.isEmpty()) {
        Log::write(component, std::string("No ") + pluginFile + " beside the program: showing the data without charts");
        return nullptr;
    }
    if (plugin.refusal) {
        Log::write(component, "Not loading " + plugin.path.toStdString() + ": " + *plugin.refusal +
                                  "; showing the data without charts");
        return nullptr;
    }
    // The plugin stays loaded for the rest of the process: the views it made live on.
    QPluginLoader loader(plugin.path);
    if (auto* factory = qobject_cast<ChartViewFactory*>(loader.instance())) return factory;
    Log::write(component, "Cannot load " + plugin.path.toStdString() + ": " + loader.errorString().toStdString() +
                              "; showing the data without charts");
    return nullptr;
}

}  // namespace

ChartViewFactory* chartViewFactory() {
    static ChartViewFactory* const factory = findFactory();
    return factory;
}

}  // namespace solvara
