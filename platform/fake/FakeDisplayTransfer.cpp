#include "platform/fake/FakeDisplayTransfer.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace solvara {

std::size_t FakeDisplayTransfer::activeDisplays(std::span<DisplayId> ids) {
    std::size_t n = std::min(ids.size(), displays.size());
    std::copy_n(displays.begin(), n, ids.begin());
    return n;
}

bool FakeDisplayTransfer::refuses(DisplayId display) const {
    return std::find(refusedDisplays.begin(), refusedDisplays.end(), display) != refusedDisplays.end() ||
           std::find(displays.begin(), displays.end(), display) == displays.end();
}

void FakeDisplayTransfer::record(Write::Kind kind, DisplayId display, const Curve& curve,
                                 const TransferFormula& formula) {
    ++writeCount;
    current_[display] = curve;
    if (events_ != nullptr && events_->enabled) {
        events_->add((kind == Write::Kind::table ? "table " : "formula ") + std::to_string(display));
    }
    if (keepHistory) writes.push_back(Write{kind, display, curve, formula, batchDepth_ > 0});
}

bool FakeDisplayTransfer::setTransferByTable(DisplayId display, std::span<const float> red,
                                             std::span<const float> green, std::span<const float> blue) {
    if (red.size() != tableSize || green.size() != tableSize || blue.size() != tableSize) return false;
    if (refuses(display)) return false;
    Curve curve;
    std::copy(red.begin(), red.end(), curve.red.begin());
    std::copy(green.begin(), green.end(), curve.green.begin());
    std::copy(blue.begin(), blue.end(), curve.blue.begin());
    record(Write::Kind::table, display, curve, {});
    return true;
}

bool FakeDisplayTransfer::setTransferByFormula(DisplayId display, const TransferFormula& formula) {
    if (refuses(display)) return false;
    record(Write::Kind::formula, display, sample(formula), formula);
    return true;
}

void FakeDisplayTransfer::restoreOriginalGamma() {
    ++restoreCount;
    current_.clear();
    if (events_ != nullptr) events_->add("restoreOriginalGamma");
}

FakeDisplayTransfer::Curve FakeDisplayTransfer::identity() {
    Curve curve;
    for (std::size_t i = 0; i < tableSize; ++i) {
        float v = static_cast<float>(i) / 255.0f;
        curve.red[i] = curve.green[i] = curve.blue[i] = v;
    }
    return curve;
}

FakeDisplayTransfer::Curve FakeDisplayTransfer::sample(const TransferFormula& f) {
    auto channel = [](float min, float max, float gamma, std::size_t i) {
        double input = static_cast<double>(i) / 255.0;
        return static_cast<float>(min + (max - min) * std::pow(input, static_cast<double>(gamma)));
    };
    Curve curve;
    for (std::size_t i = 0; i < tableSize; ++i) {
        curve.red[i] = channel(f.redMin, f.redMax, f.redGamma, i);
        curve.green[i] = channel(f.greenMin, f.greenMax, f.greenGamma, i);
        curve.blue[i] = channel(f.blueMin, f.blueMax, f.blueGamma, i);
    }
    return curve;
}

FakeDisplayTransfer::Curve FakeDisplayTransfer::current(DisplayId display) const {
    auto it = current_.find(display);
    return it == current_.end() ? identity() : it->second;
}

std::vector<FakeDisplayTransfer::Write> FakeDisplayTransfer::writesTo(DisplayId display) const {
    std::vector<Write> result;
    for (const auto& w : writes) {
        if (w.display == display) result.push_back(w);
    }
    return result;
}

}  // namespace solvara
