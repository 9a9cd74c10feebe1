#include "core/audio/SoundscapeGenerator.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>

#include "core/audio/FastSine.h"
#include "core/audio/SeededRNG.h"
#include "core/foundation/Log.h"
#include "core/foundation/StringHash.h"

namespace solvara {

namespace {

using Group = SoundscapeGenerator::SoundscapeGroup;
using Theme = SoundscapeGenerator::SoundscapeTheme;

// The sound is defined by these exact constants and by the order of every operation below:
// all arithmetic in double precision, left to right as written, each value rounded to single
// precision only where it lands in the buffer. Reordering a sum changes the sound.
constexpr double twoPi = 6.283185307179586;
constexpr double pi = 3.141592653589793;

// Events sit in a window that ends this many samples before the buffer's end, so that most of
// each event fits (0.1 s and 0.5 s at 44100 Hz, fixed counts whatever the rate).
constexpr std::int64_t dropReserve = 4410;
constexpr std::int64_t phraseReserve = 22050;

constexpr double twoTo63 = 0x1p63;

// Int(x) for a count of samples: truncation toward zero, saturating where a hostile rate
// would overflow the conversion.
std::int64_t wholeSamples(double x) {
    if (!(x < twoTo63)) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(x);
}

// x - trunc(x) is exact, so this equals the remainder of x divided by 1 bit for bit.
double frac(double x) {
    return x - std::trunc(x);
}

// "Add" writes the event's value rounded to single precision onto the single-precision sample.
void add(float& sample, double value) {
    sample += static_cast<float>(value);
}

// One draw, always taken, then a start inside [0, count - reserve). A buffer shorter than the
// reserve has an empty window and its events start at the first sample instead of before it.
std::int64_t eventStart(SeededRNG& rng, std::int64_t count, std::int64_t reserve) {
    const std::int64_t window = std::max<std::int64_t>(count - reserve, 0);
    return static_cast<std::int64_t>(rng.uniform() * static_cast<double>(window));
}

// Samples of an event of `length` starting at `start` that fall inside the buffer.
std::int64_t samplesInside(std::int64_t count, std::int64_t start, std::int64_t length) {
    if (start >= count) return 0;
    return std::min(length, count - start);
}

void generateOcean(std::vector<float>& buffer, std::int64_t count, double sr, double /*duration*/, Group group,
                   SeededRNG& rng) {
    const double period = group == Group::night ? 10.0 : 7.0;
    const double secondOffset = 0.45 * period;
    const double secondPeriod = 1.4 * period;
    double b0 = 0.0, b1 = 0.0, b2 = 0.0, b3 = 0.0, b4 = 0.0;
    double lp = 0.0;
    double prev = 0.0;
    float* out = buffer.data();
    for (std::int64_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sr;

        const double p1 = frac(t / period);
        double e1;
        if (p1 < 0.15) {
            const double rise = p1 / 0.15;
            e1 = rise * rise;
        } else if (p1 < 0.25) {
            e1 = 1.0;
        } else if (p1 < 0.7) {
            const double fall = 1.0 - (p1 - 0.25) / 0.45;
            e1 = fall * fall;
        } else {
            e1 = 0.02;
        }

        const double p2 = frac((t + secondOffset) / secondPeriod);
        double e2;
        if (p2 < 0.2) {
            const double rise = p2 / 0.2;
            e2 = rise * rise * 0.4;
        } else if (p2 < 0.6) {
            const double fall = 1.0 - (p2 - 0.2) / 0.4;
            e2 = fall * fall * 0.4;
        } else {
            e2 = 0.01;
        }

        // Paul Kellet's pink-noise filter.
        const double w1 = rng.noise();
        b0 = 0.99886 * b0 + 0.0555179 * w1;
        b1 = 0.99332 * b1 + 0.0750759 * w1;
        b2 = 0.969 * b2 + 0.153852 * w1;
        b3 = 0.8665 * b3 + 0.3104856 * w1;
        b4 = 0.55 * b4 + 0.5329522 * w1;
        const double pink = 0.5362 * w1 + b0 + b1 + b2 + b3 + b4;
        lp = 0.97 * lp + 0.03 * (pink / 3.5);

        const double w2 = rng.noise();
        const double foam = std::max(0.0, e1 - 0.6) * 2.5 * (w2 - prev) * 0.4;
        prev = w2;

        const double thump = std::sin(twoPi * 35.0 * t) * 0.12 * std::max(0.0, e1 - 0.5);
        out[i] = static_cast<float>(2.0 * thump + foam + (e1 + e2) * lp * 5.0);
    }
}

void generateRain(std::vector<float>& buffer, std::int64_t count, double sr, double duration, Group group,
                  SeededRNG& rng) {
    double intensity = 0.4;
    if (group == Group::night) intensity = 0.3;
    if (group == Group::day) intensity = 0.5;

    float* out = buffer.data();
    double lp = 0.0;
    for (std::int64_t i = 0; i < count; ++i) {
        lp = 0.95 * lp + 0.05 * rng.noise();
        const double t = static_cast<double>(i) / sr;
        out[i] = static_cast<float>((0.3 * std::sin(twoPi * t / 15.0) + 0.7) * intensity * lp * 4.0);
    }

    const std::int64_t drops = wholeSamples(duration * 3.0);
    const std::int64_t dropLength = wholeSamples(sr * 0.02);
    for (std::int64_t d = 0; d < drops; ++d) {
        const std::int64_t start = eventStart(rng, count, dropReserve);
        const double f = 1200.0 * rng.uniform() + 800.0;
        const std::int64_t length = samplesInside(count, start, dropLength);
        for (std::int64_t j = 0; j < length; ++j) {
            const double tau = static_cast<double>(j) / sr;
            add(out[start + j], std::sin(twoPi * f * tau) * std::exp(-200.0 * tau) * 0.15);
        }
    }
}

void generateForest(std::vector<float>& buffer, std::int64_t count, double sr, double /*duration*/, Group group,
                    SeededRNG& rng) {
    float* out = buffer.data();
    double lp = 0.0;
    for (std::int64_t i = 0; i < count; ++i) {
        lp = 0.992 * lp + 0.008 * rng.noise();
        const double t = static_cast<double>(i) / sr;
        out[i] = static_cast<float>((0.08 * std::sin(twoPi * t / 11.0) + 0.12 * std::sin(twoPi * t / 7.0) + 0.25) * lp *
                                    2.5);
    }

    int phrases = 5;
    if (group == Group::day) phrases = 15;
    if (group == Group::dawn) phrases = 10;
    for (int p = 0; p < phrases; ++p) {
        const std::int64_t start = eventStart(rng, count, phraseReserve);
        const double base = 3000.0 * rng.uniform() + 2000.0;
        const int notes = static_cast<int>(rng.uniform() * 4.0) + 2;
        for (int n = 0; n < notes; ++n) {
            const std::int64_t offset = wholeSamples(static_cast<double>(n) * 0.08 * sr);
            const std::int64_t noteLength = wholeSamples((0.04 * rng.uniform() + 0.03) * sr);
            const double detune = 500.0 * rng.uniform() - 250.0;
            if (offset >= count - start) continue;  // past the end; the draws above still count
            const std::int64_t noteStart = start + offset;
            const double noteSeconds = static_cast<double>(noteLength) / sr;
            const double frequency = base + detune;
            const std::int64_t length = samplesInside(count, noteStart, noteLength);
            for (std::int64_t j = 0; j < length; ++j) {
                const double tau = static_cast<double>(j) / sr;
                add(out[noteStart + j], std::sin(twoPi * frequency * tau) * std::sin(pi * tau / noteSeconds) * 0.06);
            }
        }
    }
}

void generateCreek(std::vector<float>& buffer, std::int64_t count, double sr, double duration, Group /*group*/,
                   SeededRNG& rng) {
    float* out = buffer.data();
    double lp1 = 0.0;
    double lp2 = 0.0;
    for (std::int64_t i = 0; i < count; ++i) {
        lp1 = 0.985 * lp1 + 0.015 * rng.noise();
        lp2 = 0.996 * lp2 + 0.004 * lp1;
        const double t = static_cast<double>(i) / sr;
        out[i] =
            static_cast<float>((0.1 * std::sin(twoPi * t / 8.3) + 0.15 * std::sin(twoPi * t / 5.0) + 0.3) * lp2 * 6.0);
    }

    const std::int64_t bubbles = wholeSamples(duration * 5.0);
    for (std::int64_t b = 0; b < bubbles; ++b) {
        const std::int64_t start = eventStart(rng, count, dropReserve);
        const double f = 2500.0 * rng.uniform() + 1500.0;
        const std::int64_t bubbleLength = wholeSamples((0.015 * rng.uniform() + 0.008) * sr);
        const std::int64_t length = samplesInside(count, start, bubbleLength);
        for (std::int64_t j = 0; j < length; ++j) {
            const double tau = static_cast<double>(j) / sr;
            add(out[start + j], std::sin(twoPi * f * tau) * std::exp(-300.0 * tau) * 0.08);
        }
    }
}

// max(0, sin(x)) for x >= 0. Where x lies well inside a negative half-wave (sin(x) below
// -3e-6 there, so std::sin is certainly negative and the max certainly +0) the sine is not
// computed at all.
double positiveSine(double x) {
    constexpr double oneOverPi = 0.31830988618379067154;
    if (x < FastSine::maxArgument) {
        const double halfWaves = x * oneOverPi;
        const auto whole = static_cast<std::int64_t>(halfWaves);
        const double within = halfWaves - static_cast<double>(whole);
        if ((whole & 1) != 0 && within > 1e-6 && within < 1.0 - 1e-6) return 0.0;
    }
    return std::max(0.0, std::sin(x));
}

// The bits of a float, so that +0 and -0 count as different results.
std::uint32_t bitsOf(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

// The doubt about a libm sine of x when only FastSine has been evaluated.
struct SineRange {
    double low;
    double high;
};

SineRange sineRange(double x) {
    const double s = FastSine::approximate(x);
    return {s - FastSine::errorBound, s + FastSine::errorBound};
}

void generateWind(std::vector<float>& buffer, std::int64_t count, double sr, SeededRNG& rng) {
    float* out = buffer.data();
    double lp1 = 0.0;
    double lp2 = 0.0;
    double phase = 0.0;
    constexpr double e = FastSine::errorBound;

    // Per block of samples: first the running state, exactly, in order; then the sines that
    // reach only their own sample, one kind per loop, so that the processor overlaps many
    // samples' work instead of waiting on one sine's result at a time.
    constexpr std::int64_t blockSize = 128;
    std::array<double, blockSize> times{};
    std::array<double, blockSize> gusts{};
    std::array<double, blockSize> phases{};
    std::array<double, blockSize> slow{};
    std::array<double, blockSize> fast{};
    std::array<double, blockSize> humAngles{};
    std::array<double, blockSize> angleDoubts{};
    std::array<double, blockSize> humLow{};
    std::array<double, blockSize> humHigh{};
    std::array<double, blockSize> whistleLow{};
    std::array<double, blockSize> whistleHigh{};
    for (std::int64_t first = 0; first < count; first += blockSize) {
        const auto size = static_cast<std::size_t>(std::min(blockSize, count - first));
        // The gust level feeds the whistle's phase, so it is computed exactly. A gust term
        // whose other factor c is 0 is 0 whatever b is.
        for (std::size_t k = 0; k < size; ++k) {
            const double t = static_cast<double>(first + static_cast<std::int64_t>(k)) / sr;
            const double a = positiveSine(twoPi * t / 6.3 + 0.5);
            const double c = positiveSine(twoPi * t / 11.0);
            const double b = c == 0.0 ? 0.0 : positiveSine(twoPi * t / 3.7 + 2.1);
            times[k] = t;
            gusts[k] = 0.5 * a + 0.1 + 0.25 * c * 0.35 * b;
        }
        for (std::size_t k = 0; k < size; ++k) {
            const double w = rng.noise();
            lp1 = 0.95 * lp1 + 0.05 * w;
            lp2 = 0.85 * lp2 + 0.15 * w;
            // A whistle gliding between 300 and 700 Hz with the gusts.
            phase = phase + (300.0 + 400.0 * gusts[k]) / sr;
            phases[k] = phase;
            slow[k] = lp2;
            fast[k] = lp1;
        }

        // hum = sin(2 pi 180 t + 5 sin(2 pi 3 t)): the inner std::sin lies within e of the
        // fast one, so its angle, rounded the same way, lies in [lowAngle, lowAngle +
        // angleDoubt]; as |sin a - sin b| <= |a - b|, the hum lies within e + angleDoubt of the
        // fast sine of lowAngle.
        for (std::size_t k = 0; k < size; ++k) {
            const double humCarrier = twoPi * 180.0 * times[k];
            const double vibrato = FastSine::approximate(twoPi * 3.0 * times[k]);
            const double lowAngle = humCarrier + 5.0 * (vibrato - e);
            const double highAngle = humCarrier + 5.0 * (vibrato + e);
            humAngles[k] = lowAngle;
            angleDoubts[k] = highAngle - lowAngle;
        }
        for (std::size_t k = 0; k < size; ++k) {
            const double hum = FastSine::approximate(humAngles[k]);
            humLow[k] = hum - e - angleDoubts[k];
            humHigh[k] = hum + e + angleDoubts[k];
        }
        // Below a gust of 0.3 the whistle is multiplied by +0: whatever its sign, it changes
        // nothing as long as the hum term it is added to is not zero.
        for (std::size_t k = 0; k < size; ++k) {
            const bool heard = gusts[k] - 0.3 > 0.0;
            const double whistle = heard ? FastSine::approximate(twoPi * phases[k]) : 0.0;
            whistleLow[k] = heard ? whistle - e : 0.0;
            whistleHigh[k] = heard ? whistle + e : 0.0;
        }

        // hum and whistle reach only this sample, and it grows with both (gust >= 0.1 and
        // max(0, gust - 0.3) >= 0): keep the bracket when both ends round to the same non-zero
        // float, otherwise ask std::sin (a few samples per buffer).
        for (std::size_t k = 0; k < size; ++k) {
            const double gust = gusts[k];
            const auto sample = [&](double hum, double whistle) {
                return static_cast<float>(0.03 * hum * gust + 0.04 * std::max(0.0, gust - 0.3) * whistle +
                                          1.5 * gust * slow[k] + 0.3 * gust * 2.0 * fast[k]);
            };
            const float low = sample(humLow[k], whistleLow[k]);
            const float high = sample(humHigh[k], whistleHigh[k]);
            const bool certain =
                bitsOf(low) == bitsOf(high) && low != 0.0f && (gust - 0.3 > 0.0 || humLow[k] > 0.0 || humHigh[k] < 0.0);
            if (certain) {
                out[first + static_cast<std::int64_t>(k)] = low;
            } else {
                const double t = times[k];
                out[first + static_cast<std::int64_t>(k)] =
                    sample(std::sin(twoPi * 180.0 * t + 5.0 * std::sin(twoPi * 3.0 * t)), std::sin(twoPi * phases[k]));
            }
        }
    }
}

void generateNightCrickets(std::vector<float>& buffer, std::int64_t count, double sr, double /*duration*/,
                           Group /*group*/, SeededRNG& rng) {
    float* out = buffer.data();
    double lp = 0.0;
    // The two hums reach only their own sample, which grows with both: per block, the fast
    // sines first (many samples in flight at once), then each sample from its bracket, or from
    // std::sin when the bracket's ends differ or are zero.
    constexpr std::int64_t blockSize = 128;
    std::array<double, blockSize> hum50{};
    std::array<double, blockSize> hum100{};
    for (std::int64_t first = 0; first < count; first += blockSize) {
        const auto size = static_cast<std::size_t>(std::min(blockSize, count - first));
        for (std::size_t k = 0; k < size; ++k) {
            const double t = static_cast<double>(first + static_cast<std::int64_t>(k)) / sr;
            hum50[k] = FastSine::approximate(twoPi * 50.0 * t);
            hum100[k] = FastSine::approximate(twoPi * 100.0 * t);
        }
        for (std::size_t k = 0; k < size; ++k) {
            lp = 0.997 * lp + 0.003 * rng.noise();
            const double rumble = lp * 1.5 * 0.2;
            const auto sample = [&](double sine50, double sine100) {
                return static_cast<float>(0.04 * sine50 + 0.02 * sine100 + rumble);
            };
            constexpr double e = FastSine::errorBound;
            const float low = sample(hum50[k] - e, hum100[k] - e);
            const float high = sample(hum50[k] + e, hum100[k] + e);
            if (bitsOf(low) == bitsOf(high) && low != 0.0f) {
                out[first + static_cast<std::int64_t>(k)] = low;
            } else {
                const double t = static_cast<double>(first + static_cast<std::int64_t>(k)) / sr;
                out[first + static_cast<std::int64_t>(k)] =
                    sample(std::sin(twoPi * 50.0 * t), std::sin(twoPi * 100.0 * t));
            }
        }
    }

    const double reserveSeconds = sr * 5.0;
    const std::int64_t voices = static_cast<std::int64_t>(rng.uniform() * 4.0) + 4;
    for (std::int64_t v = 0; v < voices; ++v) {
        const double f = 1500.0 * rng.uniform() + 4000.0;
        const double period = 0.03 * rng.uniform() + 0.05;
        // The window ends 5 s before the buffer's end; a shorter buffer starts its voices at 0.
        const std::int64_t reserve =
            reserveSeconds < static_cast<double>(count) ? static_cast<std::int64_t>(reserveSeconds) : count;
        const std::int64_t start = eventStart(rng, count, reserve);
        const std::int64_t voiceLength = wholeSamples((3.0 * rng.uniform() + 2.0) * sr);
        const double on = 0.4 * period;
        const std::int64_t length = samplesInside(count, start, voiceLength);
        const auto chirp = [](double tone, double envelope) { return static_cast<float>(tone * envelope * 0.07); };

        // Chirps fill 40 % of each period, each under a half-sine envelope. Only the samples
        // near the k-th chirp (1e-9 s of margin, far beyond any rounding) are visited, each
        // once. A sample inside a chirp is thus visited for its own chirp k, where tau - k
        // period is the remainder of tau divided by the period: a double, so fma's one rounding
        // gives it exactly, as std::fmod would. A sample visited for another k lies outside
        // every chirp, and there tau - k period is negative or at least a period.
        std::int64_t next = 0;
        for (std::int64_t k = 0; next < length; ++k) {
            const double chirpStart = static_cast<double>(k) * period;
            const std::int64_t first = std::max(next, wholeSamples(std::max(0.0, (chirpStart - 1e-9) * sr)));
            if (first >= length) break;
            const std::int64_t last = wholeSamples((chirpStart + on + 1e-9) * sr);
            const std::int64_t end = last < length ? last + 1 : length;
            for (std::int64_t j = first; j < end; ++j) {
                const double tau = static_cast<double>(j) / sr;
                const double ph = std::fma(-static_cast<double>(k), period, tau);
                if (!(ph >= 0.0 && ph < on)) continue;

                const double toneAngle = twoPi * f * tau;
                const double envelopeAngle = pi * ph / on;
                // The chirp's value is the product of two sines: its extremes over the doubt lie
                // at the corners.
                const SineRange tone = sineRange(toneAngle);
                const SineRange envelope = sineRange(envelopeAngle);
                const float corner = chirp(tone.low, envelope.low);
                const std::uint32_t bits = bitsOf(corner);
                const bool certain = corner != 0.0f && bits == bitsOf(chirp(tone.low, envelope.high)) &&
                                     bits == bitsOf(chirp(tone.high, envelope.low)) &&
                                     bits == bitsOf(chirp(tone.high, envelope.high));
                out[start + j] += certain ? corner : chirp(std::sin(toneAngle), std::sin(envelopeAngle));
            }
            next = std::max(next, end);
        }
    }
}

std::string numberText(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

void appendTag(std::vector<std::uint8_t>& data, const char (&tag)[5]) {
    data.insert(data.end(), tag, tag + 4);
}

void appendLittleEndian(std::vector<std::uint8_t>& data, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) data.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

// Scale 32767 (symmetric: -32768 never occurs), fraction dropped; NaN counts as full scale.
std::int16_t pcmValue(float x) {
    if (x <= -1.0f) return -32767;
    if (x < 1.0f) return static_cast<std::int16_t>(x * 32767.0f);
    return 32767;
}

}  // namespace

SoundscapeGenerator::SoundscapeGroup SoundscapeGenerator::phaseToGroup(TwilightPhase phase) {
    switch (phase) {
        case TwilightPhase::astronomicalNight:
        case TwilightPhase::night:
            return SoundscapeGroup::night;
        case TwilightPhase::astronomicalTwilight:
        case TwilightPhase::nauticalTwilight:
        case TwilightPhase::civilTwilight:
            return SoundscapeGroup::dawn;
        case TwilightPhase::goldenHour:
        case TwilightPhase::morningRise:
        case TwilightPhase::solarNoon:
        case TwilightPhase::afternoonDecline:
            return SoundscapeGroup::day;
        case TwilightPhase::eveningGoldenHour:
        case TwilightPhase::eveningTwilight:
            return SoundscapeGroup::dusk;
    }
    return SoundscapeGroup::night;
}

std::vector<float> SoundscapeGenerator::generateBuffer(SoundscapeTheme theme, SoundscapeGroup group, double duration,
                                                       double sampleRate) {
    const double product = duration * sampleRate;
    if (!(sampleRate >= 0.0 && sampleRate < twoTo63) || !(product >= 0.0 && product < twoTo63)) {
        Log::write("SoundscapeGenerator",
                   "Cannot synthesise " + numberText(duration) + " s at " + numberText(sampleRate) + " Hz; no sound");
        return {};
    }
    const auto count = static_cast<std::int64_t>(product);

    std::vector<float> buffer;
    try {
        buffer.assign(static_cast<std::size_t>(count), 0.0f);
    } catch (const std::bad_alloc&) {
        Log::write("SoundscapeGenerator", "No memory for " + numberText(product) + " samples; no sound");
        return {};
    } catch (const std::length_error&) {
        Log::write("SoundscapeGenerator", "No memory for " + numberText(product) + " samples; no sound");
        return {};
    }

    std::uint64_t seed = StringHash::hash(rawValue(theme)) + StringHash::hash(rawValue(group)) + 42;
    if (seed == 0) seed = 1;
    SeededRNG rng(seed);

    switch (theme) {
        case SoundscapeTheme::ocean:
            generateOcean(buffer, count, sampleRate, duration, group, rng);
            break;
        case SoundscapeTheme::rain:
            generateRain(buffer, count, sampleRate, duration, group, rng);
            break;
        case SoundscapeTheme::forest:
            generateForest(buffer, count, sampleRate, duration, group, rng);
            break;
        case SoundscapeTheme::creek:
            generateCreek(buffer, count, sampleRate, duration, group, rng);
            break;
        case SoundscapeTheme::wind:
            generateWind(buffer, count, sampleRate, rng);
            break;
        case SoundscapeTheme::night:
            generateNightCrickets(buffer, count, sampleRate, duration, group, rng);
            break;
    }

    // The divisor is the whole rate, not the fade's length: a buffer under 2 s gets a
    // triangle whose ramps meet below full gain.
    const auto wholeRate = static_cast<std::int64_t>(sampleRate);
    const std::int64_t fadeLength = std::min(count / 2, wholeRate);
    const auto rateDivisor = static_cast<float>(wholeRate);
    for (std::int64_t j = 0; j < fadeLength; ++j) {
        const float gain = static_cast<float>(j) / rateDivisor;
        buffer[static_cast<std::size_t>(j)] *= gain;
        buffer[static_cast<std::size_t>(count - 1 - j)] *= gain;
    }

    float peak = 0.0f;
    for (const float sample : buffer) peak = std::max(peak, std::fabs(sample));
    if (peak > 0.001f) {
        const float scale = 0.7f / peak;
        for (float& sample : buffer) sample *= scale;
    }
    return buffer;
}

std::vector<std::uint8_t> SoundscapeGenerator::wavData(std::span<const float> samples, std::int64_t sampleRate) {
    constexpr std::uint64_t maxSamples = (std::numeric_limits<std::uint32_t>::max() - 36) / 2;
    if (sampleRate < 0 || sampleRate > std::numeric_limits<std::int32_t>::max() || samples.size() > maxSamples) {
        Log::write("SoundscapeGenerator", "Cannot encode " + std::to_string(samples.size()) + " samples at " +
                                              std::to_string(sampleRate) + " Hz as WAV");
        return {};
    }
    const auto dataBytes = static_cast<std::uint32_t>(2 * samples.size());
    const auto rate = static_cast<std::uint32_t>(sampleRate);

    std::vector<std::uint8_t> data;
    data.reserve(44 + static_cast<std::size_t>(dataBytes));
    appendTag(data, "RIFF");
    appendLittleEndian(data, 36 + dataBytes, 4);
    appendTag(data, "WAVE");
    appendTag(data, "fmt ");
    appendLittleEndian(data, 16, 4);
    appendLittleEndian(data, 1, 2);  // integer PCM
    appendLittleEndian(data, 1, 2);  // mono
    appendLittleEndian(data, rate, 4);
    appendLittleEndian(data, rate * 2, 4);
    appendLittleEndian(data, 2, 2);  // block alignment
    appendLittleEndian(data, 16, 2);
    appendTag(data, "data");
    appendLittleEndian(data, dataBytes, 4);
    for (const float x : samples) {
        appendLittleEndian(data, static_cast<std::uint16_t>(pcmValue(x)), 2);
    }
    return data;
}

}  // namespace solvara
