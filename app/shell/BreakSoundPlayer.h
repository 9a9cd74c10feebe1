#pragma once

#include <memory>
#include <string_view>

#include "app/state/AppStateTypes.h"
#include "platform/AudioOutput.h"
#include "platform/AudioPlayer.h"

namespace solvara {

// The short alert sounds at the start and the end of a break.
class BreakSoundPlayer {
public:
    explicit BreakSoundPlayer(AudioOutput& audio) : audio_(audio) {}

    // Plays the alert sound chosen for `sound`; nothing for BreakSound::none.
    void play(BreakSound sound);

    // The alert sound's name ("Glass" for chime ...); empty for none.
    static std::string_view systemSoundName(BreakSound sound);

    // Unused: the alert sounds play through the audio output without a player of their own.
    std::unique_ptr<AudioPlayer> player;

private:
    AudioOutput& audio_;
};

}  // namespace solvara
