#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include <QIODevice>

namespace solvara {

// Serves PCM bytes from memory to an audio sink, repeating them `loops` more times after the
// first pass (-1: for ever). Reading past the last pass answers nothing, which the sink takes
// as the end of the sound. The sink reads from its sound server's thread while the main thread
// may rewind: where the device stands is one atomic value, and a read that a rewind overtook
// reads again from the new start.
//
// The device never says it is at its end. Qt 6.4's PulseAudio sink answers a buffer that runs
// dry at the end of its source by draining the stream with itself as the callback's target,
// and nothing cancels that drain when the sink is destroyed: a player destroyed just as its
// sound ran out (an alert released as the next one starts) was called back after it was gone.
// A source that only ran dry leaves the sink idle all the same.
class LoopingPcmDevice : public QIODevice {
public:
    LoopingPcmDevice(std::shared_ptr<const std::vector<std::uint8_t>> pcm, int loops);

    // Back to the first byte of the first pass. Any thread.
    void rewind();

    bool isSequential() const override { return true; }
    bool atEnd() const override { return false; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    // Eight bytes, so the atomic needs no lock: a WAV file's data never exceeds 32 bits.
    // Aligned to its size: otherwise Clang takes the atomic for a generic one and calls
    // libatomic instead of using one 8-byte instruction.
    struct alignas(8) Cursor {
        std::uint32_t position = 0;
        std::uint32_t passesLeft = 0;  // after the current one; ignored when looping for ever
    };
    static_assert(std::atomic<Cursor>::is_always_lock_free);

    Cursor start() const;

    const std::shared_ptr<const std::vector<std::uint8_t>> pcm_;
    const int loops_;
    std::atomic<Cursor> cursor_;
};

}  // namespace solvara
