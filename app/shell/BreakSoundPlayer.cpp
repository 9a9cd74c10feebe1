#include "app/shell/BreakSoundPlayer.h"

namespace solvara {

std::string_view BreakSoundPlayer::systemSoundName(BreakSound sound) {
    switch (sound) {
        case BreakSound::none: return {};
        case BreakSound::chime: return "Glass";
        case BreakSound::bell: return "Ping";
        case BreakSound::bowl: return "Purr";
        case BreakSound::nature: return "Breeze";
    }
    return {};
}

void BreakSoundPlayer::play(BreakSound sound) {
    const std::string_view name = systemSoundName(sound);
    if (name.empty()) return;
    // An unknown name plays nothing; the audio output logs why.
    audio_.playSystemSound(name);
}

}  // namespace solvara
