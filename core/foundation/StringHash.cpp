#include "core/foundation/StringHash.h"

#include <atomic>
#include <mutex>
#include <random>

namespace solvara {
namespace {

struct Key {
    std::uint64_t k0;
    std::uint64_t k1;
};

Key randomKey() {
    std::random_device device;
    auto draw = [&device] { return (static_cast<std::uint64_t>(device()) << 32) ^ device(); };
    return {draw(), draw()};
}

// Written once at start (or by a test before synthesis runs); read from worker threads.
std::atomic<std::uint64_t> key0{0};
std::atomic<std::uint64_t> key1{0};
std::once_flag keyOnce;

void ensureKey() {
    std::call_once(keyOnce, [] {
        const Key key = randomKey();
        key0.store(key.k0);
        key1.store(key.k1);
    });
}

constexpr std::uint64_t rotl(std::uint64_t x, int b) {
    return (x << b) | (x >> (64 - b));
}

struct SipState {
    std::uint64_t v0, v1, v2, v3;
    void round() {
        v0 += v1;
        v1 = rotl(v1, 13);
        v1 ^= v0;
        v0 = rotl(v0, 32);
        v2 += v3;
        v3 = rotl(v3, 16);
        v3 ^= v2;
        v0 += v3;
        v3 = rotl(v3, 21);
        v3 ^= v0;
        v2 += v1;
        v1 = rotl(v1, 17);
        v1 ^= v2;
        v2 = rotl(v2, 32);
    }
};

// SipHash-1-3: one compression round, three finalisation rounds.
std::uint64_t sipHash13(std::uint64_t k0, std::uint64_t k1, std::string_view data) {
    SipState s{k0 ^ 0x736f6d6570736575ULL, k1 ^ 0x646f72616e646f6dULL, k0 ^ 0x6c7967656e657261ULL,
               k1 ^ 0x7465646279746573ULL};
    const std::size_t length = data.size();
    const std::size_t whole = length & ~static_cast<std::size_t>(7);
    for (std::size_t i = 0; i < whole; i += 8) {
        std::uint64_t m = 0;
        for (int j = 0; j < 8; ++j) m |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[i + j])) << (8 * j);
        s.v3 ^= m;
        s.round();
        s.v0 ^= m;
    }
    std::uint64_t last = static_cast<std::uint64_t>(length) << 56;
    for (std::size_t j = 0; whole + j < length; ++j) {
        last |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[whole + j])) << (8 * j);
    }
    s.v3 ^= last;
    s.round();
    s.v0 ^= last;
    s.v2 ^= 0xff;
    s.round();
    s.round();
    s.round();
    return s.v0 ^ s.v1 ^ s.v2 ^ s.v3;
}

}  // namespace

std::uint64_t StringHash::hash(std::string_view text) {
    ensureKey();
    return sipHash13(key0.load(), key1.load(), text);
}

void StringHash::setKeyForTesting(std::uint64_t k0, std::uint64_t k1) {
    ensureKey();
    key0.store(k0);
    key1.store(k1);
}

}  // namespace solvara
