#pragma once

#include <memory>
#include <vector>

#include "platform/AudioOutput.h"

class QObject;

namespace solvara {

// Sound through Qt Multimedia's QAudioSink on the default output device. QMediaPlayer is not
// used: it can crash on machines without an audio device, where this logs once and stays quiet.
class QtAudioOutput : public AudioOutput {
public:
    QtAudioOutput();
    ~QtAudioOutput() override;

    std::unique_ptr<AudioPlayer> createPlayer(std::span<const std::uint8_t> wavData) override;
    bool playSystemSound(std::string_view name) override;

private:
    void pruneFinishedAlerts();

    std::unique_ptr<QObject> context_;
    std::vector<std::unique_ptr<AudioPlayer>> alerts_;  // one-shot sounds still playing
    bool reportedNoDevice_ = false;
    std::shared_ptr<bool> startFailureReported_ = std::make_shared<bool>(false);
};

}  // namespace solvara
