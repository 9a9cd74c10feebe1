#pragma once

#include <memory>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace solvara::x11 {

// Owning handles for the Xlib and RandR objects the display code holds; each frees its object
// with the call Xlib documents for it.

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct ScreenResourcesFree {
    void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
using ScreenResourcesPtr = std::unique_ptr<XRRScreenResources, ScreenResourcesFree>;

struct OutputInfoFree {
    void operator()(XRROutputInfo* info) const { XRRFreeOutputInfo(info); }
};
using OutputInfoPtr = std::unique_ptr<XRROutputInfo, OutputInfoFree>;

struct CrtcInfoFree {
    void operator()(XRRCrtcInfo* info) const { XRRFreeCrtcInfo(info); }
};
using CrtcInfoPtr = std::unique_ptr<XRRCrtcInfo, CrtcInfoFree>;

struct CrtcGammaFree {
    void operator()(XRRCrtcGamma* gamma) const { XRRFreeGamma(gamma); }
};
using CrtcGammaPtr = std::unique_ptr<XRRCrtcGamma, CrtcGammaFree>;

// Property data, atom names and other buffers Xlib hands out for XFree.
struct XFreeDeleter {
    void operator()(void* data) const {
        if (data) XFree(data);
    }
};
template <typename T>
using XFreePtr = std::unique_ptr<T, XFreeDeleter>;

}  // namespace solvara::x11
