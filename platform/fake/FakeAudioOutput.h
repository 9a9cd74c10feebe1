#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/AudioOutput.h"
#include "platform/fake/FakeEventLog.h"

namespace solvara {

// What became of one player; outlives the player so tests can look back.
struct FakePlayerRecord {
    std::vector<std::uint8_t> data;
    int loops = 0;
    float volume = 1.0f;
    std::vector<float> volumeHistory;  // every setVolume(), in order, after clamping
    bool playing = false;
    int playCount = 0;
    int stopCount = 0;
    bool destroyed = false;
};

class FakeAudioPlayer : public AudioPlayer {
public:
    FakeAudioPlayer(std::shared_ptr<FakePlayerRecord> record, bool startSucceeds)
        : record_(std::move(record)), startSucceeds_(startSucceeds) {}
    ~FakeAudioPlayer() override;

    void setNumberOfLoops(int loops) override { record_->loops = loops; }
    void setVolume(float volume) override;
    float volume() const override { return record_->volume; }
    bool play() override;
    void stop() override;
    bool isPlaying() const override { return record_->playing; }

private:
    std::shared_ptr<FakePlayerRecord> record_;
    bool startSucceeds_;
};

// Records every player and alert sound. Without a device (deviceAvailable false) no player is
// created; with startSucceeds false players are created but refuse to play, as an output
// that fails at start does.
class FakeAudioOutput : public AudioOutput {
public:
    explicit FakeAudioOutput(FakeEventLog* events = nullptr) : events_(events) {}

    std::unique_ptr<AudioPlayer> createPlayer(std::span<const std::uint8_t> wavData) override;
    bool playSystemSound(std::string_view name) override;

    // Scripted.
    bool deviceAvailable = true;
    bool startSucceeds = true;

    // Recorded.
    std::vector<std::shared_ptr<FakePlayerRecord>> players;  // in creation order
    std::vector<std::string> systemSounds;                   // every name asked for
    int failedCreations = 0;

    // Players neither stopped nor destroyed.
    std::vector<std::shared_ptr<FakePlayerRecord>> playingPlayers() const;

private:
    FakeEventLog* events_;
};

}  // namespace solvara
