#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <X11/Xlib.h>

#include "platform/linux/XHandles.h"

namespace solvara::testing {

// A separate X client that looks at (and meddles with) what the code under test did, the way
// another program on the desktop would.
class SecondClient {
public:
    struct Tables {
        std::vector<std::uint16_t> red, green, blue;
        bool operator==(const Tables&) const = default;
    };

    SecondClient();

    Display* display() const { return display_.get(); }
    bool isOpen() const { return display_ != nullptr; }

    // The names of the outputs that drive an enabled CRTC.
    std::vector<std::string> enabledOutputs();

    // The gamma tables of the CRTC behind an output; empty when it has none.
    std::optional<Tables> gamma(const std::string& outputName);
    bool setGamma(const std::string& outputName, const Tables& tables);
    int gammaSize(const std::string& outputName);

    // xrandr on the test's server: "DUMMY1" off, or back on at 1280x800 right of DUMMY0.
    static bool switchOutput(const std::string& outputName, bool on);
    // DUMMY1 back on if a test left it off; answers whether two outputs are enabled.
    bool ensureTwoOutputs();

    // The pixel of the root window at (x, y) as 0xRRGGBB, as a screenshot sees it.
    std::optional<std::uint32_t> rootPixel(int x, int y);

    // An opaque plain window of the given colour, mapped; answers its id (0 on failure).
    Window createOpaqueWindow(int x, int y, unsigned width, unsigned height, std::uint32_t rgb);

    // A panel as desktops make one: a mapped window of type _NET_WM_WINDOW_TYPE_DOCK with
    // `strut` as its _NET_WM_STRUT_PARTIAL (left, right, top, bottom, then each band's start and
    // end); answers its id (0 on failure).
    Window createDock(int x, int y, unsigned width, unsigned height, const std::array<long, 12>& strut);
    void destroyWindow(Window window);

    // Mapped top-level windows whose frame covers the point (all clients), outermost last.
    std::vector<Window> mappedWindowsAt(int x, int y);
    // Where a window lies on the screen and its size (x, y, width, height) as the X server has
    // them; none when it is gone.
    std::optional<std::array<int, 4>> geometry(Window window);

    // Follows the order of the root's children from now on, as the server reports each change, so
    // that a test can see whether a window ever sat above another on the way to where it ends.
    void followStacking();
    // Each order (bottom to top) the root's children have been in since followStacking().
    std::vector<std::vector<Window>> stackingSince();

    // Whether any client owns the compositing-manager selection of screen 0.
    bool compositorRuns();

    // Activates or resets the server's screen saver.
    void forceScreenSaver(bool on);

    // Root-window property presence.
    bool rootHasProperty(const std::string& name);
    void deleteRootProperty(const std::string& name);

    static Tables identity(int size);
    // What a 256-entry CRTC must hold for a ramp of 256 levels: each level rounded to 16 bits,
    // worked out here without the code under test.
    template <typename Ramp>
    static Tables fromRamp(const Ramp& ramp) {
        auto convert = [](const auto& channel) {
            std::vector<std::uint16_t> table;
            for (float value : channel) table.push_back(static_cast<std::uint16_t>(std::lround(value * 65535.0)));
            return table;
        };
        return {convert(ramp.red), convert(ramp.green), convert(ramp.blue)};
    }

private:
    x11::DisplayPtr display_;
    std::vector<Window> stacking_;
    std::vector<std::vector<Window>> orders_;
};

}  // namespace solvara::testing
