#pragma once

namespace solvara {

// One sound loaded into memory, ready to play. Main thread only. Destroying the player stops
// its sound at once.
class AudioPlayer {
public:
    virtual ~AudioPlayer() = default;

    // How many times the sound repeats after its first playing: 0 plays it once, -1 for ever.
    virtual void setNumberOfLoops(int loops) = 0;

    // Linear gain, clamped to 0...1; takes effect at once, also while playing.
    virtual void setVolume(float volume) = 0;
    virtual float volume() const = 0;

    // Starts playing from the beginning. False when the output refused to start (no device, the
    // sound server gone); the reason is logged and the player stays silent.
    virtual bool play() = 0;

    // Silences the player at once; play() starts it again from the beginning. Idempotent.
    virtual void stop() = 0;

    virtual bool isPlaying() const = 0;
};

}  // namespace solvara
