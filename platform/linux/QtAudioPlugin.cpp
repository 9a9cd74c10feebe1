#include "platform/linux/QtAudioPlugin.h"

#include "platform/linux/QtAudioOutput.h"

std::unique_ptr<solvara::AudioOutput> QtAudioPlugin::makeAudioOutput() {
    return std::make_unique<solvara::QtAudioOutput>();
}
