#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/audio/SoundscapeGenerator.h"
#include "platform/AudioOutput.h"
#include "platform/AudioPlayer.h"
#include "platform/RunLoop.h"
#include "platform/Timer.h"

namespace solvara {

// Plays the ambient loop of the current part of the day: synthesised off the main thread,
// cached for the life of the process, looped and cross-faded from the previous loop. A
// generation counter lets only the newest request reach the speakers.
class SoundscapeManager {
public:
    using SoundscapeGroup = SoundscapeGenerator::SoundscapeGroup;
    using SoundscapeTheme = SoundscapeGenerator::SoundscapeTheme;

    SoundscapeManager(RunLoop& runLoop, AudioOutput& audio);
    ~SoundscapeManager();

    SoundscapeManager(const SoundscapeManager&) = delete;
    SoundscapeManager& operator=(const SoundscapeManager&) = delete;

    // Starts the loop of `group` with the current theme, from the cache or after synthesis.
    void playGroup(SoundscapeGroup group);
    // Silences everything and drops pending requests; the cache stays.
    void stop();
    // The loudness loops fade to; the playing loop takes it at once.
    void setVolume(float volume);
    // Another theme stops the loop, so that the next playGroup() starts the new one.
    void setTheme(SoundscapeTheme theme);

    SoundscapeTheme theme() const { return currentTheme_; }
    float targetVolume() const { return targetVolume_; }
    // The group playing or about to play; empty when stopped or when no device would play.
    std::optional<SoundscapeGroup> currentGroup() const { return currentGroup_; }
    const AudioPlayer* currentPlayer() const { return currentPlayer_.get(); }
    const AudioPlayer* fadeOutPlayer() const { return fadeOutPlayer_.get(); }
    bool isCached(SoundscapeTheme theme, SoundscapeGroup group) const {
        return cachedData_.contains(cacheKey(theme, group));
    }
    std::size_t cachedCount() const { return cachedData_.size(); }
    // Counts every request and stop; a synthesis result of an older one is dropped.
    std::uint64_t generationID() const { return generationID_; }

    // "Ocean Waves_night": the theme's and the group's raw values.
    static std::string cacheKey(SoundscapeTheme theme, SoundscapeGroup group);

private:
    // Starts a looping player for `data` if `genID` is still the newest request.
    void startPlayer(const std::vector<std::uint8_t>& data, std::uint64_t genID);
    // Fades `to` in and `from` (which becomes the fading player) out over `duration` seconds.
    void crossfade(std::unique_ptr<AudioPlayer> from, AudioPlayer& to, double duration);

    RunLoop& runLoop_;
    AudioOutput& audio_;
    std::unique_ptr<AudioPlayer> currentPlayer_;
    std::unique_ptr<AudioPlayer> fadeOutPlayer_;
    std::optional<SoundscapeGroup> currentGroup_;
    SoundscapeTheme currentTheme_ = SoundscapeTheme::ocean;
    Timer fadeTimer_;
    float targetVolume_ = 0.3f;
    std::map<std::string, std::vector<std::uint8_t>> cachedData_;
    std::uint64_t generationID_ = 0;
    std::shared_ptr<bool> alive_;  // weak handles to it tell late callbacks the manager is gone
};

}  // namespace solvara
