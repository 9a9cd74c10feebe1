#pragma once

#include <memory>

#include "platform/DisplayTransfer.h"

namespace solvara {

// Gamma ramps through X11 RandR on its own Xlib connection to $DISPLAY.
//
// The active displays are the CRTCs that drive a connected output (RandrDisplays), listed again
// whenever the server reports a change of outputs or CRTCs, or a request failed. A display's
// tables are saved the first time it is listed, before anything is written to it; restoring
// writes them back. While our tables are on a display, a root-window property holds their
// checksum (GammaOwnershipRecord): a run that finds a display still showing them knows they were
// left by a crashed run and takes identity as the original instead. Every X error is trapped:
// a display that vanished mid-write fails that write and nothing else. DPMS tells whether the
// main display sleeps; a server without DPMS (the dummy driver) answers from its screen saver.
//
// Writes inside a batch (beginWrites ... endWrites) share one round trip, so the watchdog costs
// one sync with the server however many displays it reaches.
//
// Destroying the transfer restores every display it wrote to, so a normal exit leaves nothing
// behind even when the caller forgot. Main thread only.
class X11DisplayTransfer : public DisplayTransfer {
public:
    X11DisplayTransfer();
    ~X11DisplayTransfer() override;
    X11DisplayTransfer(const X11DisplayTransfer&) = delete;
    X11DisplayTransfer& operator=(const X11DisplayTransfer&) = delete;

    std::size_t activeDisplays(std::span<DisplayId> ids) override;
    bool setTransferByTable(DisplayId display, std::span<const float> red, std::span<const float> green,
                            std::span<const float> blue) override;
    bool setTransferByFormula(DisplayId display, const TransferFormula& formula) override;
    void beginWrites() override;
    void endWrites() override;
    void restoreOriginalGamma() override;
    bool isMainDisplayAsleep() override;

    // False when $DISPLAY could not be opened or lacks RandR 1.2 (every call then does nothing).
    bool isConnected() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace solvara
