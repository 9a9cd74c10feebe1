#include "app/services/SoundscapeManager.h"

#include <utility>

namespace solvara {
namespace {

constexpr double loopSeconds = 8.0;
constexpr double sampleRate = 44100.0;
constexpr int fadeSteps = 40;
constexpr double firstFadeSeconds = 1.5;
constexpr double crossfadeSeconds = 2.0;

}  // namespace

SoundscapeManager::SoundscapeManager(RunLoop& runLoop, AudioOutput& audio)
    : runLoop_(runLoop), audio_(audio), alive_(std::make_shared<bool>(true)) {}

SoundscapeManager::~SoundscapeManager() {
    // Results of synthesis still running hold a weak handle to alive_ and are dropped.
    alive_.reset();
    fadeTimer_.invalidate();
}

std::string SoundscapeManager::cacheKey(SoundscapeTheme theme, SoundscapeGroup group) {
    std::string key(SoundscapeGenerator::rawValue(theme));
    key += '_';
    key += SoundscapeGenerator::rawValue(group);
    return key;
}

void SoundscapeManager::playGroup(SoundscapeGroup group) {
    currentGroup_ = group;
    std::string key = cacheKey(currentTheme_, group);
    const std::uint64_t generation = ++generationID_;

    if (auto cached = cachedData_.find(key); cached != cachedData_.end()) {
        startPlayer(cached->second, generation);
        return;
    }

    std::weak_ptr<bool> alive = alive_;
    RunLoop::MainPoster post = runLoop_.mainPoster();
    const SoundscapeTheme theme = currentTheme_;
    // The worker touches no field: it synthesises its own copies and hands the bytes back to
    // the main thread, where the generation number decides whether they are still wanted.
    runLoop_.runInBackground([this, alive, post, theme, group, generation, key = std::move(key)]() mutable {
        std::vector<float> samples = SoundscapeGenerator::generateBuffer(theme, group, loopSeconds, sampleRate);
        auto data = std::make_shared<std::vector<std::uint8_t>>(
            SoundscapeGenerator::wavData(samples, static_cast<std::int64_t>(sampleRate)));
        post([this, alive, generation, key = std::move(key), data] {
            if (alive.expired() || generationID_ != generation) return;
            auto& stored = cachedData_[key];
            stored = std::move(*data);
            startPlayer(stored, generation);
        });
    });
}

void SoundscapeManager::startPlayer(const std::vector<std::uint8_t>& data, std::uint64_t genID) {
    if (generationID_ != genID) return;
    std::unique_ptr<AudioPlayer> player = audio_.createPlayer(data);
    bool started = false;
    if (player) {
        player->setNumberOfLoops(-1);
        player->setVolume(0);
        started = player->play();
    }
    if (!started) {
        // No audio device (or the sound server refused): forget the group so the next update
        // tick asks again, instead of believing a loop is playing. The previous loop, if any,
        // carries on.
        currentGroup_.reset();
        return;
    }
    const double duration = currentPlayer_ ? crossfadeSeconds : firstFadeSeconds;
    AudioPlayer& incoming = *player;
    crossfade(std::move(currentPlayer_), incoming, duration);
    currentPlayer_ = std::move(player);
}

void SoundscapeManager::crossfade(std::unique_ptr<AudioPlayer> from, AudioPlayer& to, double duration) {
    fadeTimer_.invalidate();
    if (fadeOutPlayer_) fadeOutPlayer_->stop();
    fadeOutPlayer_ = std::move(from);

    // `to` outlives the timer: it is the current player until the next crossfade() or stop(),
    // and both cancel this timer before they release it.
    auto step = std::make_shared<int>(0);
    AudioPlayer* incoming = &to;
    fadeTimer_ = Timer::repeating(runLoop_, duration / fadeSteps, [this, step, incoming] {
        // Locals only past this point: invalidating the timer releases this closure.
        SoundscapeManager* self = this;
        AudioPlayer* player = incoming;
        const int count = ++*step;
        const float progress = static_cast<float>(count) / static_cast<float>(fadeSteps);
        player->setVolume(progress * self->targetVolume_);
        if (self->fadeOutPlayer_) self->fadeOutPlayer_->setVolume((1.0f - progress) * self->targetVolume_);
        if (count >= fadeSteps) {
            self->fadeTimer_.invalidate();
            if (self->fadeOutPlayer_) self->fadeOutPlayer_->stop();
            self->fadeOutPlayer_.reset();
            player->setVolume(self->targetVolume_);
        }
    });
}

void SoundscapeManager::setVolume(float volume) {
    targetVolume_ = volume;
    if (currentPlayer_) currentPlayer_->setVolume(volume);
}

void SoundscapeManager::setTheme(SoundscapeTheme theme) {
    if (theme == currentTheme_) return;
    currentTheme_ = theme;
    stop();
}

void SoundscapeManager::stop() {
    ++generationID_;
    fadeTimer_.invalidate();
    if (currentPlayer_) currentPlayer_->stop();
    if (fadeOutPlayer_) fadeOutPlayer_->stop();
    currentPlayer_.reset();
    fadeOutPlayer_.reset();
    currentGroup_.reset();
}

}  // namespace solvara
