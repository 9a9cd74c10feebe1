#include "platform/linux/QtAudioPlayer.h"

#include <algorithm>
#include <string>

#include <QAudioSink>

#include "core/foundation/Log.h"
#include "platform/linux/LoopingPcmDevice.h"

namespace solvara {
namespace {

std::string describe(QAudio::Error error) {
    switch (error) {
        case QAudio::NoError: return "no error";
        case QAudio::OpenError: return "the audio device could not be opened";
        case QAudio::IOError: return "the audio device failed";
        case QAudio::UnderrunError: return "the sound arrived too slowly";
        case QAudio::FatalError: return "the audio system failed";
    }
    return "unknown error";
}

}  // namespace

QtAudioPlayer::QtAudioPlayer(QAudioDevice device, QAudioFormat format, std::shared_ptr<const std::vector<std::uint8_t>> pcm,
                             std::shared_ptr<bool> failureReported)
    : device_(std::move(device)), format_(format), pcm_(std::move(pcm)), failureReported_(std::move(failureReported)) {}

QtAudioPlayer::~QtAudioPlayer() { stop(); }

void QtAudioPlayer::setNumberOfLoops(int loops) { loops_ = loops < 0 ? -1 : loops; }

void QtAudioPlayer::setVolume(float volume) {
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    if (sink_) sink_->setVolume(volume_);
}

bool QtAudioPlayer::play() {
    stop();
    source_ = std::make_unique<LoopingPcmDevice>(pcm_, loops_);
    source_->open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(device_, format_);
    sink_->setVolume(volume_);
    sink_->start(source_.get());
    if (sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState) {
        if (!*failureReported_) Log::write("Audio", "The sound output did not start: " + describe(sink_->error()));
        *failureReported_ = true;
        sink_.reset();
        source_.reset();
        return false;
    }
    *failureReported_ = false;
    return true;
}

void QtAudioPlayer::stop() {
    if (sink_) sink_->stop();
    sink_.reset();
    source_.reset();
}

bool QtAudioPlayer::isPlaying() const { return sink_ && sink_->state() == QAudio::ActiveState; }

}  // namespace solvara
