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
class LoopingPcmDevice : public QIODevice {
public:
    LoopingPcmDevice(std::shared_ptr<const std::vector<std::uint8_t>> pcm, int loops);

    // Back to the first byte of the first pass. Any thread.
    void rewind();

    bool isSequential() const override { return true; }
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
