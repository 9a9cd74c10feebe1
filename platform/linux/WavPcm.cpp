#include "platform/linux/WavPcm.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace solvara {
namespace {

std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t le16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

bool tagIs(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view tag) {
    return std::memcmp(bytes.data() + at, tag.data(), 4) == 0;
}

// Writes little-endian fields into a buffer sized up front: growing the vector field by field
// made GCC 12 at -O3 see a copy into a reallocated buffer of the wrong size.
class LeWriter {
public:
    explicit LeWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void tag(std::string_view fourBytes) {
        std::memcpy(out_.data() + at_, fourBytes.data(), 4);
        at_ += 4;
    }
    void u32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) out_[at_++] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    void u16(std::uint16_t value) {
        out_[at_++] = static_cast<std::uint8_t>(value);
        out_[at_++] = static_cast<std::uint8_t>(value >> 8);
    }

private:
    std::vector<std::uint8_t>& out_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<WavPcm> WavPcm::parse(std::span<const std::uint8_t> file) {
    if (file.size() < 12 || !tagIs(file, 0, "RIFF") || !tagIs(file, 8, "WAVE")) return std::nullopt;
    WavPcm pcm;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= file.size()) {
        const std::uint32_t size = le32(file, at + 4);
        const std::size_t body = at + 8;
        if (size > file.size() - body) return std::nullopt;  // truncated
        if (tagIs(file, at, "fmt ")) {
            if (size < 16) return std::nullopt;
            const std::uint16_t format = le16(file, body);
            const std::uint16_t channels = le16(file, body + 2);
            const std::uint32_t rate = le32(file, body + 4);
            const std::uint16_t bits = le16(file, body + 14);
            if (format != 1 || bits != 16 || channels < 1 || channels > 2 || rate < 1000 || rate > 384000) {
                return std::nullopt;
            }
            pcm.sampleRate = static_cast<int>(rate);
            pcm.channelCount = channels;
            haveFormat = true;
        } else if (tagIs(file, at, "data")) {
            if (!haveFormat) return std::nullopt;
            const std::size_t frameBytes = static_cast<std::size_t>(pcm.channelCount) * 2;
            const std::size_t usable = size - size % frameBytes;
            if (usable == 0) return std::nullopt;
            pcm.samples.assign(file.begin() + static_cast<std::ptrdiff_t>(body),
                               file.begin() + static_cast<std::ptrdiff_t>(body + usable));
            return pcm;
        }
        at = body + size + (size & 1);  // chunks are padded to an even length
    }
    return std::nullopt;
}

std::vector<std::uint8_t> WavPcm::encodeMono(std::span<const float> samples, int sampleRate) {
    // RIFF sizes are 32-bit: a longer sound is cut rather than written past the buffer.
    constexpr std::size_t maxSamples = (std::size_t{UINT32_MAX} - 36) / 2;
    if (samples.size() > maxSamples) samples = samples.first(maxSamples);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out(44 + std::size_t{dataBytes});
    LeWriter write(out);
    write.tag("RIFF");
    write.u32(36 + dataBytes);
    write.tag("WAVE");
    write.tag("fmt ");
    write.u32(16);
    write.u16(1);
    write.u16(1);
    write.u32(static_cast<std::uint32_t>(sampleRate));
    write.u32(static_cast<std::uint32_t>(sampleRate) * 2);
    write.u16(2);
    write.u16(16);
    write.tag("data");
    write.u32(dataBytes);
    for (float sample : samples) {
        const float clamped = std::clamp(std::isfinite(sample) ? sample : 0.0f, -1.0f, 1.0f);
        write.u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clamped * 32767.0f))));
    }
    return out;
}

}  // namespace solvara
