#include "platform/linux/PluginAudioOutput.h"

#include <string>

#include <QPluginLoader>

#include "core/foundation/Log.h"
#include "platform/AudioPlayer.h"
#include "platform/linux/AudioOutputFactory.h"
#include "platform/linux/PluginFiles.h"

namespace solvara {

namespace {

constexpr std::string_view component = "Audio";
constexpr const char* pluginFile = "solvara-audio.so";

}  // namespace

PluginAudioOutput::PluginAudioOutput() = default;
PluginAudioOutput::~PluginAudioOutput() = default;

AudioOutput* PluginAudioOutput::output() {
    if (loaded_) return output_.get();
    loaded_ = true;
    const PluginFile plugin = findPluginFile(pluginFile);
    if (plugin.path.isEmpty()) {
        Log::write(component, std::string("No ") + pluginFile + " beside the program: sounds are not played");
        return nullptr;
    }
    if (plugin.refusal) {
        Log::write(component,
                   "Not loading " + plugin.path.toStdString() + ": " + *plugin.refusal + "; sounds are not played");
        return nullptr;
    }
    // The plugin stays loaded for the rest of the process, as the players it makes do.
    QPluginLoader loader(plugin.path);
    if (auto* factory = qobject_cast<AudioOutputFactory*>(loader.instance())) {
        output_ = factory->makeAudioOutput();
    } else {
        Log::write(component, "Cannot load " + plugin.path.toStdString() + ": " + loader.errorString().toStdString() +
                                  "; sounds are not played");
    }
    return output_.get();
}

std::unique_ptr<AudioPlayer> PluginAudioOutput::createPlayer(std::span<const std::uint8_t> wavData) {
    AudioOutput* sound = output();
    return sound != nullptr ? sound->createPlayer(wavData) : nullptr;
}

bool PluginAudioOutput::playSystemSound(std::string_view name) {
    AudioOutput* sound = output();
    return sound != nullptr && sound->playSystemSound(name);
}

}  // namespace solvara
