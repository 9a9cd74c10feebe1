#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace solvara {

// The platform's 32-bit display id. Stable for one physical display across runs where the
// platform allows it (the Linux back end hashes the EDID or the output name).
using DisplayId = std::uint32_t;

// A transfer curve per channel: output = minimum + (maximum - minimum) * input^gamma, input and
// output 0...1. A minimum above the maximum gives a falling (inverted) curve.
struct TransferFormula {
    float redMin = 0, redMax = 1, redGamma = 1;
    float greenMin = 0, greenMax = 1, greenGamma = 1;
    float blueMin = 0, blueMax = 1, blueGamma = 1;

    bool operator==(const TransferFormula&) const = default;
};

// The displays' colour transfer tables (gamma ramps). Every write is something to undo:
// restoreOriginalGamma() puts back what the displays had before this process touched them.
class DisplayTransfer {
public:
    static constexpr std::size_t maxDisplays = 16;

    virtual ~DisplayTransfer() = default;

    // Fills `ids` with the active displays in the platform's order, at most ids.size(), and
    // answers how many were written. No displays, or the display server unreachable: 0
    // (logged once by the implementation). Allocates nothing.
    virtual std::size_t activeDisplays(std::span<DisplayId> ids) = 0;

    // Writes one table per channel; the three spans have the same size (256 here), entry i
    // standing for input level i / (size - 1), values 0...1. The implementation resamples to
    // the display's own table size. Answers false (nothing written, logged once per display)
    // for an unknown display, mismatched sizes or a refused write; never fatal.
    virtual bool setTransferByTable(DisplayId display, std::span<const float> red, std::span<const float> green,
                                    std::span<const float> blue) = 0;

    // Writes the curve of `formula` to one display. Same failure rules as setTransferByTable.
    virtual bool setTransferByFormula(DisplayId display, const TransferFormula& formula) = 0;

    // Writes made between beginWrites() and endWrites() may travel to the display server together
    // and be confirmed by one round trip at endWrites(), however many displays they reach: such
    // a write answers true once it is on its way, and a refusal is logged when the batch ends.
    // A batch begun inside another joins it. Use WriteBatch rather than calling these directly.
    virtual void beginWrites() {}
    virtual void endWrites() {}

    // Every display this process has written to gets back the tables it had when first seen
    // (identity when those were left by a crashed run of ours). No failure reported: a display
    // that has gone is skipped.
    virtual void restoreOriginalGamma() = 0;

    // True while the main display is asleep (powered down by the display server). False when
    // it cannot be told.
    virtual bool isMainDisplayAsleep() = 0;
};

// Holds one batch of writes open for its lifetime.
class WriteBatch {
public:
    explicit WriteBatch(DisplayTransfer& transfer) : transfer_(transfer) { transfer_.beginWrites(); }
    ~WriteBatch() { transfer_.endWrites(); }
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

private:
    DisplayTransfer& transfer_;
};

}  // namespace solvara
