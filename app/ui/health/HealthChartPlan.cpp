#include "app/ui/health/HealthChartPlan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <set>

#include "core/foundation/Format.h"

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

std::optional<double> readBack(const std::string& text) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

void HealthChartPlan::labelTicks(Card& card) {
    std::vector<double>& ticks = card.yTicks;
    card.yLabels.clear();
    if (ticks.empty()) return;
    // The marks are sums of a step, so they carry rounding dust: a label within a millionth of
    // the closest gap between marks names its mark.
    double gap = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < ticks.size(); ++i) gap = std::min(gap, std::abs(ticks[i] - ticks[i - 1]));
    if (!(gap > 0.0) || !std::isfinite(gap)) gap = std::max(std::abs(ticks.front()), 1.0);
    const double tolerance = gap * 1e-6;
    for (double& tick : ticks) {
        if (std::abs(tick) <= tolerance) tick = 0.0;  // no "-0.0" from dust around zero
    }
    for (int decimals = 0; decimals <= 17; ++decimals) {
        std::vector<std::string> labels;
        std::vector<double> read;
        std::set<std::string> seen;
        bool fits = true;
        for (const double tick : ticks) {
            std::string label = format::fixed(tick, decimals);
            const std::optional<double> value = readBack(label);
            if (!value || !(std::abs(*value - tick) <= tolerance) || !seen.insert(label).second) {
                fits = false;
                break;
            }
            labels.push_back(std::move(label));
            read.push_back(*value);
        }
        if (fits) {
            ticks = std::move(read);
            card.yLabels = std::move(labels);
            card.yDecimals = decimals;
            return;
        }
    }
    // Beyond 17 decimals (a scale far below any stored value): the shortest exact text each.
    for (const double tick : ticks) card.yLabels.push_back(format::shortest(tick));
    card.yDecimals = -1;
}

std::string HealthChartPlan::readOut(const Card& card, double value) {
    if (card.yDecimals < 0 || !std::isfinite(value)) return format::shortest(value);
    const std::string text = format::fixed(value, std::max(card.yDecimals, 1));
    const std::optional<double> read = readBack(text);
    if (read && *read == std::floor(*read)) return format::fixed(*read, 0);
    return text;
}

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
    if (!std::isfinite(card.yMin) || !std::isfinite(card.yMax)) {
        fixedScale(card, 1.0, {0.0, 0.5, 1.0});
        return;
    }
    card.yTicks.clear();
    const auto steps = static_cast<int>(std::lround((card.yMax - card.yMin) / step));
    for (int i = 0; i <= steps; ++i) card.yTicks.push_back(card.yMin + i * step);
}

std::vector<std::pair<double, double>> HealthChartPlan::smoothCurve(const std::vector<double>& values, double yMin,
                                                                    double yMax, int perSegment) {
    std::vector<std::pair<double, double>> curve;
    const std::size_t n = values.size();
    if (n == 0) return curve;
    if (n == 1) return {{0.0, values[0]}};
    // The parameter runs over distances on a chart of aspect 4:1, in units of its height.
    const double xScale = 4.0 / static_cast<double>(n - 1);
    const double yScale = yMax > yMin ? 1.0 / (yMax - yMin) : 1.0;
    struct P {
        double x, y;
    };
    auto point = [&](std::ptrdiff_t i) -> P {
        // The ends are mirrored, so the first and last segments have a neighbour to bend by.
        if (i < 0) return {-1.0, 2 * values[0] - values[1]};
        const auto last = static_cast<std::ptrdiff_t>(n - 1);
        if (i > last) return {static_cast<double>(n), 2 * values[n - 1] - values[n - 2]};
        return {static_cast<double>(i), values[static_cast<std::size_t>(i)]};
    };
    auto knot = [&](double t, P a, P b) {
        const double dx = (b.x - a.x) * xScale;
        const double dy = (b.y - a.y) * yScale;
        return t + std::max(std::sqrt(std::sqrt(dx * dx + dy * dy)), 1e-9);
    };
    auto mix = [](P a, P b, double ta, double tb, double t) {
        const double w = (t - ta) / (tb - ta);
        return P{a.x + (b.x - a.x) * w, a.y + (b.y - a.y) * w};
    };
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const auto at = static_cast<std::ptrdiff_t>(i);
        const P p0 = point(at - 1), p1 = point(at), p2 = point(at + 1), p3 = point(at + 2);
        const double t0 = 0.0, t1 = knot(t0, p0, p1), t2 = knot(t1, p1, p2), t3 = knot(t2, p2, p3);
        for (int step = 0; step < perSegment; ++step) {
            const double t = t1 + (t2 - t1) * step / perSegment;
            // Barry and Goldman's pyramid.
            const P a1 = mix(p0, p1, t0, t1, t), a2 = mix(p1, p2, t1, t2, t), a3 = mix(p2, p3, t2, t3, t);
            const P b1 = mix(a1, a2, t0, t2, t), b2 = mix(a2, a3, t1, t3, t);
            const P c = mix(b1, b2, t1, t2, t);
            curve.emplace_back(c.x, c.y);
        }
    }
    curve.emplace_back(static_cast<double>(n - 1), values[n - 1]);
    return curve;
}

HealthChartPlan::HealthChartPlan(const std::vector<Snapshot>& snapshots) {
    if (snapshots.empty()) return;
    desiredXLabels_ = std::min<std::size_t>(snapshots.size(), 7);

    auto makeCard = [&](Kind kind, const char* title, const char* symbol, HealthColor color, Marks marks,
                        const std::function<std::optional<double>(const Snapshot&)>& value) {
        Card card;
        card.kind = kind;
        card.title = title;
        card.symbol = symbol;
        card.color = color;
        card.marks = marks;
        for (const auto& snapshot : snapshots) {
            if (const auto v = value(snapshot)) {
                card.categories.push_back(snapshot.date);
                // A stored number that is not finite would wreck the scale: it plots as 0.
                card.values.push_back(std::isfinite(*v) ? *v : 0.0);
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

    auto score = makeCard(Kind::circadianScore, "Circadian Score", "gauge.with.dots.needle.33percent",
                          HealthColor::blue, Marks::lineWithPoints, present(&Snapshot::circadianScore));
    if (!score.categories.empty()) {
        fixedScale(score, 100.0, {0.0, 25.0, 50.0, 75.0, 100.0});
        cards_.push_back(std::move(score));
    }

    auto screen = makeCard(Kind::screenTime, "Screen Time", "desktopcomputer", HealthColor::purple, Marks::bars,
                           always(&Snapshot::screenTimeHours));
    automaticScale(screen.values, screen);
    cards_.push_back(std::move(screen));

    auto debt = makeCard(Kind::lightDebt, "Light Debt", "moon.haze", HealthColor::orange, Marks::areaWithLine,
                         always(&Snapshot::lightDebtPeakPoints));
    automaticScale(debt.values, debt);
    cards_.push_back(std::move(debt));

    auto compliance = makeCard(Kind::breakCompliance, "Break Compliance", "eye", HealthColor::green, Marks::bars,
                               always(&Snapshot::breakComplianceRatio, 100.0));
    fixedScale(compliance, 100.0, {0.0, 25.0, 50.0, 75.0, 100.0});
    cards_.push_back(std::move(compliance));

    auto sleep = makeCard(Kind::sleepQuality, "Sleep Quality", "bed.double", HealthColor::indigo, Marks::bars,
                          present(&Snapshot::sleepQualityRating));
    if (!sleep.categories.empty()) {
        // The marks sit at 1 to 5; the scale still starts at 0.
        fixedScale(sleep, 5.0, {1.0, 2.0, 3.0, 4.0, 5.0});
        sleep.height = 100;
        cards_.push_back(std::move(sleep));
    }
    for (Card& card : cards_) labelTicks(card);
}

}  // namespace solvara
