#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QIODevice>

namespace solvara {

// Serves PCM bytes from memory to an audio sink, repeating them `loops` more times after the
// first pass (-1: for ever). Reading past the last pass answers nothing, which the sink takes
// as the end of the sound.
class LoopingPcmDevice : public QIODevice {
public:
    LoopingPcmDevice(std::shared_ptr<const std::vector<std::uint8_t>> pcm, int loops);

    // Back to the first byte of the first pass.
    void rewind();

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    std::shared_ptr<const std::vector<std::uint8_t>> pcm_;
    int loops_;
    int passesLeft_ = 0;  // after the current one; ignored when looping for ever
    std::size_t position_ = 0;
};

}  // namespace solvara
