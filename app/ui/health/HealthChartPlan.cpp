#include "app/ui/health/HealthChartPlan.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace solvara {

namespace {

using Snapshot = HealthHistory::DailySnapshot;
using healthfigures::HealthColor;

// Up to `wanted` slots spread evenly over `count`, the first and the last included.
std::vector<std::size_t> spreadSlots(std::size_t count, std::size_t wanted) {
    std::vector<std::size_t> slots;
    if (count == 0 || wanted == 0) return slots;
    if (count <= wanted) {
        for (std::size_t i = 0; i < count; ++i) slots.push_back(i);
        return slots;
    }
    if (wanted == 1) return {0};
    for (std::size_t i = 0; i < wanted; ++i) {
        slots.push_back((i * (count - 1) + (wanted - 1) / 2) / (wanted - 1));
    }
    return slots;
}

void fixedScale(HealthChartPlan::Card& card, double top, std::vector<double> ticks) {
    card.yMin = 0.0;
    card.yMax = top;
    card.yTicks = std::move(ticks);
}

}  // namespace

std::string HealthChartPlan::rawValue(Range range) {
    switch (range) {
        case Range::week:
            return "7 Days";
        case Range::month:
            return "30 Days";
        case Range::quarter:
            break;
    }
    return "90 Days";
}

std::int64_t HealthChartPlan::days(Range range) {
    switch (range) {
        case Range::week:
            return 7;
        case Range::month:
            return 30;
        case Range::quarter:
            break;
    }
    return 90;
}

void HealthChartPlan::automaticScale(const std::vector<double>& values, Card& card) {
    double largest = 0.0;
    double smallest = 0.0;
    for (const double v : values) {
        if (!std::isfinite(v)) continue;
        largest = std::max(largest, v);
        smallest = std::min(smallest, v);
    }
    const double span = largest - smallest;
    if (!(span > 0.0) || !std::isfinite(span)) {
        fixedScale(card, 1.0, {0.0, 0.5, 1.0});
        return;
    }
    const double rough = span / 4.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = magnitude * 10.0;
    for (const double factor : {1.0, 2.0, 2.5, 5.0}) {
        if (magnitude * factor >= rough) {
            step = magnitude * factor;
            break;
        }
    }
    card.yMin = std::floor(smallest / step) * step;
    card.yMax = std::ceil(largest / step) * step;
    card.yTicks.clear();
    const auto steps = static_cast<int>(std::lround((card.yMax - card.yMin) / step));
    for (int i = 0; i <= steps; ++i) card.yTicks.push_back(card.yMin + i * step);
}

HealthChartPlan::HealthChartPlan(const std::vector<Snapshot>& snapshots) {
    if (snapshots.empty()) return;
    desiredXLabels_ = std::min<std::size_t>(snapshots.size(), 7);

    auto makeCard = [&](const char* title, const char* symbol, HealthColor color, Marks marks,
                        const std::function<std::optional<double>(const Snapshot&)>& value) {
        Card card;
        card.title = title;
        card.symbol = symbol;
        card.color = color;
        card.marks = marks;
        for (const auto& snapshot : snapshots) {
            if (const auto v = value(snapshot)) {
                card.categories.push_back(snapshot.date);
                card.values.push_back(*v);
            }
        }
        card.labelledSlots = spreadSlots(card.categories.size(), desiredXLabels_);
        return card;
    };
    auto always = [](double Snapshot::*field, double factor = 1.0) {
        return [field, factor](const Snapshot& s) -> std::optional<double> { return s.*field * factor; };
    };
    auto present = [](std::optional<std::int64_t> Snapshot::*field) {
        return [field](const Snapshot& s) -> std::optional<double> {
            if (!(s.*field)) return std::nullopt;
            return static_cast<double>(*(s.*field));
        };
    };

    auto score = makeCard("Circadian Score", "gauge.with.dots.needle.33percent", HealthColor::blue,
                          Marks::lineWithPoints, present(&Snapshot::circadianScore));
    if (!score.categories.empty()) {
        fixedScale(score, 100.0, {0.0, 25.0, 50.0, 75.0, 100.0});
        cards_.push_back(std::move(score));
    }

    auto screen = makeCard("Screen Time", "desktopcomputer", HealthColor::purple, Marks::bars,
                           always(&Snapshot::screenTimeHours));
    automaticScale(screen.values, screen);
    cards_.push_back(std::move(screen));

    auto debt = makeCard("Light Debt", "moon.haze", HealthColor::orange, Marks::areaWithLine,
                         always(&Snapshot::lightDebtPeakPoints));
    automaticScale(debt.values, debt);
    cards_.push_back(std::move(debt));

    auto compliance = makeCard("Break Compliance", "eye", HealthColor::green, Marks::bars,
                               always(&Snapshot::breakComplianceRatio, 100.0));
    fixedScale(compliance, 100.0, {0.0, 25.0, 50.0, 75.0, 100.0});
    cards_.push_back(std::move(compliance));

    auto sleep = makeCard("Sleep Quality", "bed.double", HealthColor::indigo, Marks::bars,
                          present(&Snapshot::sleepQualityRating));
    if (!sleep.categories.empty()) {
        // The marks sit at 1 to 5; the scale still starts at 0.
        fixedScale(sleep, 5.0, {1.0, 2.0, 3.0, 4.0, 5.0});
        sleep.height = 100;
        cards_.push_back(std::move(sleep));
    }
}

}  // namespace solvara
