#include "platform/linux/LoopingPcmDevice.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace solvara {

LoopingPcmDevice::LoopingPcmDevice(std::shared_ptr<const std::vector<std::uint8_t>> pcm, int loops)
    : pcm_(std::move(pcm)), loops_(loops), cursor_(start()) {}

LoopingPcmDevice::Cursor LoopingPcmDevice::start() const {
    return Cursor{0, static_cast<std::uint32_t>(std::max(loops_, 0))};
}

void LoopingPcmDevice::rewind() {
    cursor_.store(start());
}

qint64 LoopingPcmDevice::bytesAvailable() const {
    if (pcm_->empty()) return QIODevice::bytesAvailable();
    if (loops_ < 0) return std::numeric_limits<qint32>::max();
    const Cursor at = cursor_.load();
    const auto size = static_cast<qint64>(pcm_->size());
    return size - at.position + static_cast<qint64>(at.passesLeft) * size + QIODevice::bytesAvailable();
}

qint64 LoopingPcmDevice::readData(char* data, qint64 maxSize) {
    if (pcm_->empty()) return 0;
    const std::size_t size = pcm_->size();
    Cursor from = cursor_.load();
    for (;;) {
        Cursor at = from;
        qint64 written = 0;
        while (written < maxSize) {
            if (at.position >= size) {
                if (loops_ >= 0 && at.passesLeft == 0) break;
                if (loops_ >= 0) --at.passesLeft;
                at.position = 0;
            }
            const std::size_t chunk = std::min(static_cast<std::size_t>(maxSize - written), size - at.position);
            std::memcpy(data + written, pcm_->data() + at.position, chunk);
            at.position += static_cast<std::uint32_t>(chunk);
            written += static_cast<qint64>(chunk);
        }
        if (cursor_.compare_exchange_strong(from, at)) return written;
    }
}

qint64 LoopingPcmDevice::writeData(const char*, qint64) {
    return -1;
}

}  // namespace solvara
