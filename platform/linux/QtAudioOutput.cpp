#include "platform/linux/QtAudioOutput.h"

#include <algorithm>
#include <iterator>
#include <string>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QMediaDevices>
#include <QObject>
#include <QTimer>

#include "core/foundation/Log.h"
#include "platform/linux/AlertSounds.h"
#include "platform/linux/QtAudioPlayer.h"
#include "platform/linux/WavPcm.h"

namespace solvara {
namespace {

constexpr std::string_view component = "Audio";

}  // namespace

QtAudioOutput::QtAudioOutput() : context_(std::make_unique<QObject>()) {}

QtAudioOutput::~QtAudioOutput() {
    // Without the context no pruning timer can fire inside a sink's destructor while the
    // players go.
    context_.reset();
    std::vector<std::unique_ptr<AudioPlayer>> players = std::move(alerts_);
    alerts_.clear();
}  // the players go here, out of the list's reach

std::unique_ptr<AudioPlayer> QtAudioOutput::createPlayer(std::span<const std::uint8_t> wavData) {
    std::optional<WavPcm> pcm = WavPcm::parse(wavData);
    if (!pcm) {
        Log::write(component, "Not a 16-bit PCM WAV file: nothing to play");
        return nullptr;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        if (!reportedNoDevice_) Log::write(component, "No audio output device: sounds are not played");
        reportedNoDevice_ = true;
        return nullptr;
    }
    reportedNoDevice_ = false;
    QAudioFormat format;
    format.setSampleRate(pcm->sampleRate);
    format.setChannelCount(pcm->channelCount);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        Log::write(component, "The audio device cannot play " + std::to_string(pcm->sampleRate) + " Hz 16-bit sound");
        return nullptr;
    }
    auto samples = std::make_shared<const std::vector<std::uint8_t>>(std::move(pcm->samples));
    return std::make_unique<QtAudioPlayer>(device, format, std::move(samples), startFailureReported_);
}

bool QtAudioOutput::playSystemSound(std::string_view name) {
    pruneFinishedAlerts();
    const std::optional<std::vector<std::uint8_t>> wav = AlertSounds::wavData(name);
    if (!wav) {
        Log::write(component, "No alert sound named " + std::string(name));
        return false;
    }
    std::unique_ptr<AudioPlayer> player = createPlayer(*wav);
    if (!player) return false;
    player->setNumberOfLoops(0);
    player->setVolume(1.0f);
    if (!player->play()) return false;
    alerts_.push_back(std::move(player));
    // Every alert is shorter than two seconds; release it after that.
    QTimer::singleShot(2500, context_.get(), [this] { pruneFinishedAlerts(); });
    return true;
}

void QtAudioOutput::pruneFinishedAlerts() {
    // Qt's PulseAudio sink runs a nested event loop in its destructor, where another alert's
    // timer calls this again: the list must be whole before any player is destroyed.
    const auto finished = std::stable_partition(
        alerts_.begin(), alerts_.end(), [](const std::unique_ptr<AudioPlayer>& player) { return player->isPlaying(); });
    std::vector<std::unique_ptr<AudioPlayer>> done(std::make_move_iterator(finished),
                                                   std::make_move_iterator(alerts_.end()));
    alerts_.erase(finished, alerts_.end());
}  // the finished players go here, out of the list's reach

}  // namespace solvara
