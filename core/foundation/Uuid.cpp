#include "core/foundation/Uuid.h"

#include <sys/random.h>

#include <cerrno>
#include <random>

namespace solvara {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isDashPosition(std::size_t i) {
    return i == 8 || i == 13 || i == 18 || i == 23;
}

}  // namespace

Uuid Uuid::random() {
    // Every identifier straight from the kernel's generator: a seeded engine would carry at most
    // its seed's bits and repeat itself in a forked process.
    Uuid uuid;
    std::size_t done = 0;
    while (done < uuid.bytes.size()) {
        const ssize_t got = getrandom(uuid.bytes.data() + done, uuid.bytes.size() - done, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;  // filtered out by a sandbox: the fallback below
        done += static_cast<std::size_t>(got);
    }
    if (done < uuid.bytes.size()) {
        // Each call of the device draws fresh entropy (it is no seeded engine).
        std::random_device device;
        for (; done < uuid.bytes.size(); ++done) uuid.bytes[done] = static_cast<std::uint8_t>(device());
    }
    uuid.bytes[6] = static_cast<std::uint8_t>((uuid.bytes[6] & 0x0F) | 0x40);
    uuid.bytes[8] = static_cast<std::uint8_t>((uuid.bytes[8] & 0x3F) | 0x80);
    return uuid;
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
    if (text.size() != 36) return std::nullopt;
    Uuid uuid;
    std::size_t byte = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (isDashPosition(i)) {
            if (text[i] != '-') return std::nullopt;
            ++i;
            continue;
        }
        const int hi = hexValue(text[i]);
        const int lo = hexValue(text[i + 1]);
        if (hi < 0 || lo < 0 || isDashPosition(i + 1)) return std::nullopt;
        uuid.bytes[byte++] = static_cast<std::uint8_t>(hi * 16 + lo);
        i += 2;
    }
    return uuid;
}

std::string Uuid::string() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(36);
    for (std::size_t i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
    return out;
}

}  // namespace solvara
