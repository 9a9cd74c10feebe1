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

    // Starts the loop of `group` with `currentTheme`, from the cache or after synthesis.
    void playGroup(SoundscapeGroup group);
    // Starts a looping player for `data` if `genID` is still the newest request.
    void startPlayer(const std::vector<std::uint8_t>& data, std::uint64_t genID);
    // Fades `to` in and `from` (which becomes the fading player) out over `duration` seconds.
    void crossfade(std::unique_ptr<AudioPlayer> from, AudioPlayer& to, double duration);
    // Silences everything and drops pending requests; the cache stays.
    void stop();

    // "Ocean Waves_night": the theme's and the group's raw values.
    static std::string cacheKey(SoundscapeTheme theme, SoundscapeGroup group);

    std::unique_ptr<AudioPlayer> currentPlayer;
    std::unique_ptr<AudioPlayer> fadeOutPlayer;
    std::optional<SoundscapeGroup> currentGroup;
    SoundscapeTheme currentTheme = SoundscapeTheme::ocean;
    Timer fadeTimer;
    float targetVolume = 0.3f;
    std::map<std::string, std::vector<std::uint8_t>> cachedData;
    std::uint64_t generationID = 0;

private:
    RunLoop& runLoop_;
    AudioOutput& audio_;
    std::shared_ptr<bool> alive_;  // weak handles to it tell late callbacks the manager is gone
};

}  // namespace solvara
