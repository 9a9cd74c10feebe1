#include "platform/fake/FakeAudioOutput.h"

#include <algorithm>
#include <array>

namespace solvara {

FakeAudioPlayer::~FakeAudioPlayer() {
    record_->destroyed = true;
    record_->playing = false;
}

void FakeAudioPlayer::setVolume(float volume) {
    record_->volume = std::clamp(volume, 0.0f, 1.0f);
    record_->volumeHistory.push_back(record_->volume);
}

bool FakeAudioPlayer::play() {
    ++record_->playCount;
    record_->playing = startSucceeds_;
    return startSucceeds_;
}

void FakeAudioPlayer::stop() {
    ++record_->stopCount;
    record_->playing = false;
}

std::unique_ptr<AudioPlayer> FakeAudioOutput::createPlayer(std::span<const std::uint8_t> wavData) {
    if (!deviceAvailable || wavData.size() < 44) {
        ++failedCreations;
        if (events_ != nullptr) events_->add("player failed");
        return nullptr;
    }
    if (events_ != nullptr) events_->add("player");
    auto record = std::make_shared<FakePlayerRecord>();
    record->data.assign(wavData.begin(), wavData.end());
    players.push_back(record);
    return std::make_unique<FakeAudioPlayer>(record, startSucceeds);
}

bool FakeAudioOutput::playSystemSound(std::string_view name) {
    static constexpr std::array<std::string_view, 6> known{"Tink", "Hero", "Glass", "Ping", "Purr", "Breeze"};
    systemSounds.emplace_back(name);
    if (events_ != nullptr) events_->add("sound " + std::string(name));
    return deviceAvailable && std::find(known.begin(), known.end(), name) != known.end();
}

std::vector<std::shared_ptr<FakePlayerRecord>> FakeAudioOutput::playingPlayers() const {
    std::vector<std::shared_ptr<FakePlayerRecord>> result;
    for (const auto& record : players) {
        if (record->playing && !record->destroyed) result.push_back(record);
    }
    return result;
}

}  // namespace solvara
