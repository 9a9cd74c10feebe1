#include "platform/linux/LoopingPcmDevice.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace solvara {

LoopingPcmDevice::LoopingPcmDevice(std::shared_ptr<const std::vector<std::uint8_t>> pcm, int loops)
    : pcm_(std::move(pcm)), loops_(loops) {
    rewind();
}

void LoopingPcmDevice::rewind() {
    position_ = 0;
    passesLeft_ = std::max(loops_, 0);
}

qint64 LoopingPcmDevice::bytesAvailable() const {
    if (pcm_->empty()) return QIODevice::bytesAvailable();
    if (loops_ < 0) return std::numeric_limits<qint32>::max();
    const auto remaining = static_cast<qint64>(pcm_->size() - position_) +
                           static_cast<qint64>(passesLeft_) * static_cast<qint64>(pcm_->size());
    return remaining + QIODevice::bytesAvailable();
}

qint64 LoopingPcmDevice::readData(char* data, qint64 maxSize) {
    if (pcm_->empty()) return 0;
    qint64 written = 0;
    while (written < maxSize) {
        if (position_ >= pcm_->size()) {
            if (loops_ >= 0 && passesLeft_ == 0) break;
            if (loops_ >= 0) --passesLeft_;
            position_ = 0;
        }
        const std::size_t chunk = std::min(static_cast<std::size_t>(maxSize - written), pcm_->size() - position_);
        std::memcpy(data + written, pcm_->data() + position_, chunk);
        position_ += chunk;
        written += static_cast<qint64>(chunk);
    }
    return written;
}

qint64 LoopingPcmDevice::writeData(const char*, qint64) { return -1; }

}  // namespace solvara
