#pragma once

#include <memory>

#include "platform/AudioOutput.h"

namespace solvara {

// The sound output, loaded from the solvara-audio plugin (AudioOutputFactory) the first time
// something is to play: most days the program plays a sound or two, or none, and Qt Multimedia
// with what it pulls in (Qt Network, PulseAudio and its codecs) would otherwise stay mapped for
// the whole session. Without the plugin, or with one another user could have put or changed
// (PluginFiles.h), nothing plays: logged once, like a machine without an audio device.
class PluginAudioOutput : public AudioOutput {
public:
    PluginAudioOutput();
    ~PluginAudioOutput() override;

    std::unique_ptr<AudioPlayer> createPlayer(std::span<const std::uint8_t> wavData) override;
    bool playSystemSound(std::string_view name) override;

private:
    AudioOutput* output();

    std::unique_ptr<AudioOutput> output_;
    bool loaded_ = false;  // tried, whether or not it worked
};

}  // namespace solvara
