#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "platform/AudioPlayer.h"

namespace solvara {

// The machine's sound output. Main thread only. Without an audio device nothing plays and the
// program goes on: every member below absorbs that, with a log line, and never crashes.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // A player for a complete in-memory WAV file (RIFF/WAVE, 16-bit PCM, mono or stereo). Null
    // when the data is not such a file or no output device exists (logged).
    virtual std::unique_ptr<AudioPlayer> createPlayer(std::span<const std::uint8_t> wavData) = 0;

    // Plays one of the short named alert sounds ("Tink", "Hero", "Glass", "Ping", "Purr",
    // "Breeze") once, at full volume, without waiting. False for a name it does not know or when
    // nothing can play (logged).
    virtual bool playSystemSound(std::string_view name) = 0;
};

}  // namespace solvara
