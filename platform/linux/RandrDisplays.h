#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct _XDisplay;  // Xlib's Display, kept out of this header so Qt code can include it

namespace solvara {

// One active display as RandR sees it: a CRTC that shows a mode on at least one connected
// output.
struct RandrDisplay {
    std::uint32_t id = 0;        // stable across runs and X server restarts
    unsigned long crtc = 0;      // RRCrtc
    unsigned long output = 0;    // RROutput: the first connected output on the CRTC
    std::string outputName;      // "DP-1", "HDMI-0", "DUMMY0"...
    int gammaSize = 0;           // entries per channel of the CRTC's gamma table
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    bool primary = false;
};

// Lists the active displays of a server's default screen.
class RandrDisplays {
public:
    static constexpr std::size_t maximumCount = 16;

    // The primary output's CRTC first, then the others in the server's CRTC order; at most 16.
    // Requests go to `display` without error handling of their own: call under an XErrorTrap.
    // Empty when the server lacks RandR 1.2.
    static std::vector<RandrDisplay> active(_XDisplay* display);

    // Opens a short-lived connection to $DISPLAY for callers that keep none (screen lists).
    static std::vector<RandrDisplay> activeOnDefaultServer();

    // FNV-1a over the monitor's EDID, or over the output name when the monitor sends none,
    // so the id survives restarts and follows the monitor from port to port. Never 0 (0 is
    // what a screen without an id reports).
    static std::uint32_t displayId(std::span<const unsigned char> edid, std::string_view outputName);
};

}  // namespace solvara
