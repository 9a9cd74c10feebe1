#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "platform/DisplayTransfer.h"
#include "platform/fake/FakeEventLog.h"

namespace solvara {

// Displays in memory: a scripted list of active ids, and a record of every write. Each
// display's current curve is kept as a 256-entry table per channel (a formula is sampled),
// so tests compare what a display shows whichever way it was written.
class FakeDisplayTransfer : public DisplayTransfer {
public:
    static constexpr std::size_t tableSize = 256;
    using Channel = std::array<float, tableSize>;

    struct Curve {
        Channel red{}, green{}, blue{};
        bool operator==(const Curve&) const = default;
    };

    struct Write {
        enum class Kind { table, formula };
        Kind kind = Kind::table;
        DisplayId display = 0;
        Curve curve;                 // the table written, or the formula sampled
        TransferFormula formula;     // for Kind::formula
        bool batched = false;        // made inside beginWrites ... endWrites
    };

    explicit FakeDisplayTransfer(FakeEventLog* events = nullptr) : events_(events) {}

    std::size_t activeDisplays(std::span<DisplayId> ids) override;
    bool setTransferByTable(DisplayId display, std::span<const float> red, std::span<const float> green,
                            std::span<const float> blue) override;
    bool setTransferByFormula(DisplayId display, const TransferFormula& formula) override;
    void restoreOriginalGamma() override;
    bool isMainDisplayAsleep() override { return mainDisplayAsleep; }
    void beginWrites() override {
        if (batchDepth_++ == 0) ++batchCount;
    }
    void endWrites() override {
        if (batchDepth_ > 0) --batchDepth_;
    }

    static Curve identity();
    static Curve sample(const TransferFormula& formula);

    // What the display shows now: identity until written, identity again after a restore.
    Curve current(DisplayId display) const;
    // Writes to one display, in order.
    std::vector<Write> writesTo(DisplayId display) const;

    // Scripted.
    std::vector<DisplayId> displays;
    bool mainDisplayAsleep = false;
    std::vector<DisplayId> refusedDisplays;  // writes to these answer false and change nothing

    // Recorded. `keepHistory` off keeps only the counters and current curves (benchmarks).
    bool keepHistory = true;
    std::vector<Write> writes;
    std::size_t writeCount = 0;
    std::size_t restoreCount = 0;
    std::size_t batchCount = 0;  // outermost batches begun

private:
    bool refuses(DisplayId display) const;
    void record(Write::Kind kind, DisplayId display, const Curve& curve, const TransferFormula& formula);

    FakeEventLog* events_;
    std::map<DisplayId, Curve> current_;
    int batchDepth_ = 0;
};

}  // namespace solvara
