#include "platform/linux/RandrDisplays.h"

#include <algorithm>

#include <X11/Xatom.h>

#include "core/foundation/Log.h"
#include "platform/linux/XErrorTrap.h"
#include "platform/linux/XHandles.h"

namespace solvara {

namespace {

constexpr std::uint32_t fnvOffset = 2166136261u;
constexpr std::uint32_t fnvPrime = 16777619u;

std::uint32_t fnv1a(std::uint32_t hash, std::span<const unsigned char> bytes) {
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= fnvPrime;
    }
    return hash;
}

std::span<const unsigned char> bytesOf(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

std::vector<unsigned char> edidOf(Display* display, RROutput output) {
    Atom edidAtom = XInternAtom(display, RR_PROPERTY_RANDR_EDID, True);
    if (edidAtom == None) return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    // 1024 32-bit units: far beyond a base block and its extensions.
    if (XRRGetOutputProperty(display, output, edidAtom, 0, 1024, False, False, AnyPropertyType, &type, &format,
                             &count, &remaining, &raw) != Success) {
        return {};
    }
    x11::XFreePtr<unsigned char> data(raw);
    if (!data || format != 8 || type != XA_INTEGER || count == 0) return {};
    return {data.get(), data.get() + count};
}

}  // namespace

std::uint32_t RandrDisplays::displayId(std::span<const unsigned char> edid, std::string_view outputName) {
    std::uint32_t hash = edid.empty() ? fnv1a(fnvOffset, bytesOf(outputName)) : fnv1a(fnvOffset, edid);
    return hash == 0 ? 1u : hash;
}

std::vector<RandrDisplay> RandrDisplays::active(_XDisplay* display) {
    std::vector<RandrDisplay> result;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!display || !XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 2)) {
        return result;
    }
    const Window root = DefaultRootWindow(display);
    // "Current" skips the hardware probe: the server's own idea of the outputs is enough.
    x11::ScreenResourcesPtr resources(XRRGetScreenResourcesCurrent(display, root));
    if (!resources) return result;
    const RROutput primaryOutput = XRRGetOutputPrimary(display, root);

    std::vector<std::vector<unsigned char>> edids;
    for (int c = 0; c < resources->ncrtc; ++c) {
        const RRCrtc crtc = resources->crtcs[c];
        x11::CrtcInfoPtr crtcInfo(XRRGetCrtcInfo(display, resources.get(), crtc));
        if (!crtcInfo || crtcInfo->mode == None || crtcInfo->noutput == 0) continue;

        RandrDisplay entry;
        bool connected = false;
        for (int o = 0; o < crtcInfo->noutput; ++o) {
            const RROutput output = crtcInfo->outputs[o];
            x11::OutputInfoPtr outputInfo(XRRGetOutputInfo(display, resources.get(), output));
            // "Unknown" is what outputs without load detection (old VGA) report while in use.
            if (!outputInfo || outputInfo->connection == RR_Disconnected) continue;
            if (!connected || output == primaryOutput) {
                entry.output = output;
                entry.outputName.assign(outputInfo->name, static_cast<std::size_t>(outputInfo->nameLen));
            }
            connected = true;
            if (output == primaryOutput) entry.primary = true;
        }
        if (!connected) continue;

        entry.crtc = crtc;
        entry.gammaSize = XRRGetCrtcGammaSize(display, crtc);
        entry.x = crtcInfo->x;
        entry.y = crtcInfo->y;
        entry.width = crtcInfo->width;
        entry.height = crtcInfo->height;
        std::vector<unsigned char> edid = edidOf(display, entry.output);
        entry.id = displayId(edid, entry.outputName);
        // Two monitors of one model may send byte-identical EDIDs; the port tells them apart.
        const bool taken = std::any_of(result.begin(), result.end(),
                                       [&](const RandrDisplay& other) { return other.id == entry.id; });
        if (taken) {
            edid.push_back(0);
            edid.insert(edid.end(), entry.outputName.begin(), entry.outputName.end());
            entry.id = displayId(edid, entry.outputName);
        }
        result.push_back(std::move(entry));
    }
    std::stable_partition(result.begin(), result.end(), [](const RandrDisplay& d) { return d.primary; });
    if (result.size() > maximumCount) result.resize(maximumCount);
    return result;
}

std::vector<RandrDisplay> RandrDisplays::activeOnDefaultServer() {
    x11::DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return {};
    x11::XErrorTrap trap(display.get());
    std::vector<RandrDisplay> displays = active(display.get());
    if (trap.sync() > 0) {
        Log::write("RandrDisplays", "X errors while listing displays; the list may be incomplete");
    }
    return displays;
}

}  // namespace solvara
