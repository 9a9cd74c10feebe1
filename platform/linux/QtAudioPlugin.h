#pragma once

#include <QObject>

#include "platform/linux/AudioOutputFactory.h"

// The solvara-audio plugin: the sound output through Qt Multimedia (QtAudioOutput).
class QtAudioPlugin : public QObject, public solvara::AudioOutputFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SolvaraAudioOutputFactory_iid)
    Q_INTERFACES(solvara::AudioOutputFactory)

public:
    std::unique_ptr<solvara::AudioOutput> makeAudioOutput() override;
};
