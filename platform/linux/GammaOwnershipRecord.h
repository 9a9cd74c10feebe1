#pragma once

#include <cstdint>
#include <map>
#include <span>

#include <X11/Xlib.h>

namespace solvara {

// Remembers, in a property on the X root window, a checksum of the gamma table we last wrote
// to each display and have not yet put back. The property outlives a crashed process (the
// server keeps it), so the next run can tell that a CRTC still shows our own ramp and must not
// be taken for the user's original: such a display's original is the identity table.
class GammaOwnershipRecord {
public:
    static constexpr const char* propertyName = "_SOLVARA_GAMMA_APPLIED";

    // Reads the property (one round trip); an absent or malformed one reads as empty.
    void load(Display* display, Window root);
    // Sends the property when it changed since the last store; no round trip.
    void store(Display* display, Window root);

    bool isOurs(std::uint32_t displayId, std::uint32_t checksum) const;
    void markWritten(std::uint32_t displayId, std::uint32_t checksum);
    void markRestored(std::uint32_t displayId);

    static std::uint32_t checksum(std::span<const std::uint16_t> red, std::span<const std::uint16_t> green,
                                  std::span<const std::uint16_t> blue);

private:
    std::map<std::uint32_t, std::uint32_t> entries_;
    bool dirty_ = false;
};

}  // namespace solvara
