#include "platform/linux/X11DisplayTransfer.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>

#include "core/foundation/Log.h"
#include "platform/linux/GammaOwnershipRecord.h"
#include "platform/linux/GammaResampler.h"
#include "platform/linux/RandrDisplays.h"
#include "platform/linux/XErrorTrap.h"
#include "platform/linux/XHandles.h"

namespace solvara {

namespace {

constexpr const char* component = "X11DisplayTransfer";

std::span<std::uint16_t> channel(unsigned short* values, int size) {
    return {values, static_cast<std::size_t>(size)};
}

std::string describe(const x11::XErrorTrap& trap) {
    return "X error " + std::to_string(trap.firstErrorCode()) + " on request " +
           std::to_string(trap.firstRequestCode()) + "." + std::to_string(trap.firstMinorCode());
}

}  // namespace

struct X11DisplayTransfer::State {
    // One listed display and the gamma buffer reused for every write to it.
    struct Crtc {
        RandrDisplay display;
        x11::CrtcGammaPtr buffer;
    };
    struct Tables {
        std::vector<std::uint16_t> red, green, blue;
    };

    x11::DisplayPtr display;
    Window root = 0;
    int randrEventBase = 0;
    bool listValid = false;
    std::vector<Crtc> crtcs;
    std::map<DisplayId, Tables> originals;  // as first seen, for the life of the process
    std::set<DisplayId> written;            // our tables are on these (until restored)
    GammaOwnershipRecord record;
    std::set<DisplayId> failureLogged;
    bool unreachableLogged = false;
    bool noDisplaysLogged = false;
    // An open batch of writes: sent under one trap, confirmed together when the batch ends.
    int batchDepth = 0;
    std::optional<x11::XErrorTrap> batchTrap;
    std::vector<DisplayId> batchDisplays;

    bool connected() const { return display != nullptr; }

    void logUnreachableOnce() {
        if (unreachableLogged) return;
        unreachableLogged = true;
        Log::write(component, "No X server with RandR 1.2 at $DISPLAY; display gamma is unavailable");
    }

    void logFailureOnce(DisplayId id, const std::string& text) {
        if (!failureLogged.insert(id).second) return;
        Log::write(component, "Display " + std::to_string(id) + ": " + text);
    }

    // Reads what the server has sent (no round trip) and notices output and CRTC changes.
    void drainEvents() {
        XEvent event;
        while (XPending(display.get()) > 0) {
            XNextEvent(display.get(), &event);
            if (event.type == randrEventBase + RRScreenChangeNotify || event.type == randrEventBase + RRNotify) {
                listValid = false;
            }
        }
    }

    void refresh() {
        drainEvents();
        if (listValid) return;
        x11::XErrorTrap trap(display.get());
        std::vector<RandrDisplay> listed = RandrDisplays::active(display.get());
        std::vector<Crtc> fresh;
        fresh.reserve(listed.size());
        for (RandrDisplay& entry : listed) {
            if (entry.gammaSize <= 0) {
                logFailureOnce(entry.id, "the CRTC of " + entry.outputName + " has no gamma table");
                continue;
            }
            saveOriginalsIfNew(entry);
            Crtc crtc{std::move(entry), nullptr};
            crtc.buffer.reset(XRRAllocGamma(crtc.display.gammaSize));
            if (!crtc.buffer) continue;
            fresh.push_back(std::move(crtc));
        }
        if (trap.sync() > 0) {
            // A change raced the listing; the next call lists again.
            Log::write(component, "Listing displays failed (" + describe(trap) + "); trying again on the next call");
            crtcs.clear();
            return;
        }
        crtcs = std::move(fresh);
        listValid = true;
        if (crtcs.empty() && !noDisplaysLogged) {
            noDisplaysLogged = true;
            Log::write(component, "No active display with a gamma table");
        }
        if (!crtcs.empty()) noDisplaysLogged = false;
    }

    // Saves the tables a display shows the first time it is seen, before anything is written
    // to it; tables left by a crashed run of ours count as identity.
    void saveOriginalsIfNew(const RandrDisplay& entry) {
        if (originals.count(entry.id) > 0) return;
        x11::CrtcGammaPtr gamma(XRRGetCrtcGamma(display.get(), entry.crtc));
        if (!gamma || gamma->size <= 0) return;
        Tables tables;
        const int size = gamma->size;
        tables.red.assign(gamma->red, gamma->red + size);
        tables.green.assign(gamma->green, gamma->green + size);
        tables.blue.assign(gamma->blue, gamma->blue + size);
        if (record.isOurs(entry.id, GammaOwnershipRecord::checksum(tables.red, tables.green, tables.blue))) {
            Log::write(component, "Display " + std::to_string(entry.id) + " (" + entry.outputName +
                                      ") still shows the tables of an earlier run; its original is identity");
            GammaResampler::identity(tables.red);
            tables.green = tables.red;
            tables.blue = tables.red;
        }
        originals.emplace(entry.id, std::move(tables));
    }

    Crtc* find(DisplayId id) {
        auto it = std::find_if(crtcs.begin(), crtcs.end(), [&](const Crtc& c) { return c.display.id == id; });
        return it == crtcs.end() ? nullptr : &*it;
    }

    // Puts the tables in `crtc.buffer` on the wire and notes them in the ownership record.
    void queue(Crtc& crtc, bool ours) {
        XRRCrtcGamma* buffer = crtc.buffer.get();
        XRRSetCrtcGamma(display.get(), crtc.display.crtc, buffer);
        const auto red = channel(buffer->red, buffer->size);
        const auto green = channel(buffer->green, buffer->size);
        const auto blue = channel(buffer->blue, buffer->size);
        if (ours) {
            record.markWritten(crtc.display.id, GammaOwnershipRecord::checksum(red, green, blue));
        } else {
            record.markRestored(crtc.display.id);
        }
    }

    // Sends the tables in `crtc.buffer` and waits for the server's verdict, or inside a batch
    // leaves the verdict to the batch's end.
    bool send(Crtc& crtc, bool ours) {
        if (batchTrap) {
            queue(crtc, ours);
            batchDisplays.push_back(crtc.display.id);
            return true;
        }
        x11::XErrorTrap trap(display.get());
        queue(crtc, ours);
        record.store(display.get(), root);
        if (trap.sync() > 0) {
            logFailureOnce(crtc.display.id, "writing the gamma table of " + crtc.display.outputName + " failed (" +
                                                describe(trap) + ")");
            listValid = false;
            return false;
        }
        failureLogged.erase(crtc.display.id);
        return true;
    }

    void beginBatch() {
        if (batchDepth++ > 0 || !connected()) return;
        batchDisplays.clear();
        batchTrap.emplace(display.get());
    }

    // One round trip for every write of the batch. The server does not say which write it
    // refused, so a refusal is logged against each display of the batch and the list is read
    // again before the next write.
    void endBatch() {
        if (batchDepth == 0 || --batchDepth > 0 || !batchTrap) return;
        record.store(display.get(), root);
        const bool failed = batchTrap->sync() > 0;
        if (failed) {
            listValid = false;
            for (DisplayId id : batchDisplays) {
                logFailureOnce(id, "writing its gamma table in a batch failed (" + describe(*batchTrap) + ")");
            }
        } else {
            for (DisplayId id : batchDisplays) failureLogged.erase(id);
        }
        batchTrap.reset();
        batchDisplays.clear();
    }

    // Common start of both writes: the display's buffer, or null (logged) when it cannot be written.
    Crtc* target(DisplayId id) {
        if (!connected()) {
            logUnreachableOnce();
            return nullptr;
        }
        refresh();
        Crtc* crtc = find(id);
        if (!crtc) logFailureOnce(id, "not an active display");
        return crtc;
    }
};

X11DisplayTransfer::X11DisplayTransfer() : state_(std::make_unique<State>()) {
    x11::DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(display.get(), &state_->randrEventBase, &errorBase) ||
        !XRRQueryVersion(display.get(), &major, &minor) || major < 1 || (major == 1 && minor < 2)) {
        return;
    }
    state_->root = DefaultRootWindow(display.get());
    state_->display = std::move(display);
    x11::XErrorTrap trap(state_->display.get());
    XRRSelectInput(state_->display.get(), state_->root,
                   RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
    state_->record.load(state_->display.get(), state_->root);
    state_->batchDisplays.reserve(maxDisplays);
}

X11DisplayTransfer::~X11DisplayTransfer() {
    while (state_->batchDepth > 0) state_->endBatch();
    if (state_->connected() && !state_->written.empty()) restoreOriginalGamma();
}

void X11DisplayTransfer::beginWrites() {
    state_->beginBatch();
}

void X11DisplayTransfer::endWrites() {
    state_->endBatch();
}

bool X11DisplayTransfer::isConnected() const { return state_->connected(); }

std::size_t X11DisplayTransfer::activeDisplays(std::span<DisplayId> ids) {
    if (!state_->connected()) {
        state_->logUnreachableOnce();
        return 0;
    }
    state_->refresh();
    const std::size_t count = std::min(ids.size(), state_->crtcs.size());
    for (std::size_t i = 0; i < count; ++i) ids[i] = state_->crtcs[i].display.id;
    return count;
}

bool X11DisplayTransfer::setTransferByTable(DisplayId display, std::span<const float> red,
                                            std::span<const float> green, std::span<const float> blue) {
    if (red.empty() || red.size() != green.size() || red.size() != blue.size()) {
        state_->logFailureOnce(display, "refused a table whose channels differ in size or are empty");
        return false;
    }
    State::Crtc* crtc = state_->target(display);
    if (!crtc) return false;
    XRRCrtcGamma* buffer = crtc->buffer.get();
    GammaResampler::resample(red, channel(buffer->red, buffer->size));
    GammaResampler::resample(green, channel(buffer->green, buffer->size));
    GammaResampler::resample(blue, channel(buffer->blue, buffer->size));
    if (!state_->send(*crtc, true)) return false;
    state_->written.insert(display);
    return true;
}

bool X11DisplayTransfer::setTransferByFormula(DisplayId display, const TransferFormula& formula) {
    State::Crtc* crtc = state_->target(display);
    if (!crtc) return false;
    XRRCrtcGamma* buffer = crtc->buffer.get();
    GammaResampler::evaluateFormula(formula.redMin, formula.redMax, formula.redGamma,
                                    channel(buffer->red, buffer->size));
    GammaResampler::evaluateFormula(formula.greenMin, formula.greenMax, formula.greenGamma,
                                    channel(buffer->green, buffer->size));
    GammaResampler::evaluateFormula(formula.blueMin, formula.blueMax, formula.blueGamma,
                                    channel(buffer->blue, buffer->size));
    if (!state_->send(*crtc, true)) return false;
    state_->written.insert(display);
    return true;
}

void X11DisplayTransfer::restoreOriginalGamma() {
    if (!state_->connected() || state_->written.empty()) return;
    state_->refresh();
    for (State::Crtc& crtc : state_->crtcs) {
        const DisplayId id = crtc.display.id;
        auto saved = state_->originals.find(id);
        if (state_->written.count(id) == 0 || saved == state_->originals.end()) continue;
        XRRCrtcGamma* buffer = crtc.buffer.get();
        GammaResampler::resample(saved->second.red, channel(buffer->red, buffer->size));
        GammaResampler::resample(saved->second.green, channel(buffer->green, buffer->size));
        GammaResampler::resample(saved->second.blue, channel(buffer->blue, buffer->size));
        if (state_->send(crtc, false)) state_->written.erase(id);
    }
}

bool X11DisplayTransfer::isMainDisplayAsleep() {
    if (!state_->connected()) return false;
    Display* display = state_->display.get();
    x11::XErrorTrap trap(display);
    int eventBase = 0;
    int errorBase = 0;
    bool asleep = false;
    if (DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display)) {
        CARD16 level = DPMSModeOn;
        BOOL enabled = False;
        if (DPMSInfo(display, &level, &enabled)) asleep = enabled && level != DPMSModeOn;
    } else if (XScreenSaverQueryExtension(display, &eventBase, &errorBase)) {
        XScreenSaverInfo* raw = XScreenSaverAllocInfo();
        x11::XFreePtr<XScreenSaverInfo> info(raw);
        if (info && XScreenSaverQueryInfo(display, state_->root, info.get())) {
            asleep = info->state == ScreenSaverOn;
        }
    }
    if (trap.sync() > 0) return false;
    return asleep;
}

}  // namespace solvara
