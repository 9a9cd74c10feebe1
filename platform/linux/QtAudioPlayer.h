#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QAudioDevice>
#include <QAudioFormat>

#include "platform/AudioPlayer.h"

class QAudioSink;

namespace solvara {

class LoopingPcmDevice;

// One in-memory sound played through a QAudioSink on the given output device. The sink is made
// anew at each play(); a sink that cannot start says so at once through its state and error,
// which play() checks rather than waiting for a signal that never comes.
class QtAudioPlayer : public AudioPlayer {
public:
    // `failureReported` is shared by the players of one output, so a sound server that stays
    // away is logged once, not at every attempt.
    QtAudioPlayer(QAudioDevice device, QAudioFormat format, std::shared_ptr<const std::vector<std::uint8_t>> pcm,
                  std::shared_ptr<bool> failureReported);
    ~QtAudioPlayer() override;

    void setNumberOfLoops(int loops) override;
    void setVolume(float volume) override;
    float volume() const override { return volume_; }
    bool play() override;
    void stop() override;
    bool isPlaying() const override;

private:
    QAudioDevice device_;
    QAudioFormat format_;
    std::shared_ptr<const std::vector<std::uint8_t>> pcm_;
    std::shared_ptr<bool> failureReported_;
    int loops_ = 0;
    float volume_ = 1.0f;
    std::unique_ptr<LoopingPcmDevice> source_;
    std::unique_ptr<QAudioSink> sink_;  // after source_: destroyed first, while its source lives
};

}  // namespace solvara
