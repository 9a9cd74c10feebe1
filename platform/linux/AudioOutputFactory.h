#pragma once

#include <memory>

#include <QtPlugin>

#include "platform/AudioOutput.h"

namespace solvara {

// What the solvara-audio plugin offers: the sound output through Qt Multimedia (QtAudioOutput),
// so that Qt Multimedia, Qt Network and PulseAudio are mapped only once something plays.
class AudioOutputFactory {
public:
    virtual ~AudioOutputFactory() = default;
    virtual std::unique_ptr<AudioOutput> makeAudioOutput() = 0;
};

}  // namespace solvara

#define SolvaraAudioOutputFactory_iid "app.solvara.AudioOutputFactory/1"
Q_DECLARE_INTERFACE(solvara::AudioOutputFactory, SolvaraAudioOutputFactory_iid)
