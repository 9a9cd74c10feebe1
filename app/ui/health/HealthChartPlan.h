#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/ui/health/HealthFigures.h"
#include "core/health/HealthHistory.h"

namespace solvara {

// What the trend charts draw for one range, worked out without a screen: which cards, their
// points, y scales and x labels. The view turns a plan into Qt Charts.
class HealthChartPlan {
public:
    enum class Range { week, month, quarter };
    static constexpr Range ranges[] = {Range::week, Range::month, Range::quarter};
    static std::string rawValue(Range range);  // "7 Days", "30 Days", "90 Days"
    static std::int64_t days(Range range);     // 7, 30, 90

    enum class Marks { lineWithPoints, bars, areaWithLine };
    enum class Kind { circadianScore, screenTime, lightDebt, breakCompliance, sleepQuality };
    static constexpr std::size_t kindCount = 5;

    struct Card {
        Kind kind = Kind::screenTime;
        std::string title;
        std::string symbol;
        healthfigures::HealthColor color = healthfigures::HealthColor::blue;
        Marks marks = Marks::bars;
        // One slot per plotted snapshot, in date order, no gap for missing days.
        std::vector<std::string> categories;
        std::vector<double> values;
        double yMin = 0.0;
        double yMax = 1.0;
        std::vector<double> yTicks;  // evenly spaced from yMin to yMax
        // One label per mark, each reading back as exactly its mark, no two alike.
        std::vector<std::string> yLabels;
        // The labels' decimals; -1 where each is the shortest exact text of its mark.
        int yDecimals = 1;
        // The slots that carry a date label.
        std::vector<std::size_t> labelledSlots;
        int height = 120;
    };

    // The snapshots of the range, oldest first (as the history's selection gives them).
    explicit HealthChartPlan(const std::vector<HealthHistory::DailySnapshot>& snapshots);

    bool empty() const { return cards_.empty(); }
    const std::vector<Card>& cards() const { return cards_; }
    // min(n, 7) for n snapshots in the range: the same for every card, even one that plots fewer.
    std::size_t desiredXLabels() const { return desiredXLabels_; }

    // "Nice" axis ends and marks for values from 0 up to `largest`: about four steps of 1, 2,
    // 2.5 or 5 times a power of ten. Non-finite values are ignored.
    static void automaticScale(const std::vector<double>& values, Card& card);

    // Labels the marks with the fewest decimals (the same for all) that make every label read
    // back as its mark and tell all of them apart: 0, 25, 50 but 0.000, 0.025, 0.050. Each mark
    // is moved onto the number its label reads, so what the axis says is where the mark stands.
    static void labelTicks(Card& card);

    // `value` for a screen reader, to the decimals the card's labels show and at least a tenth,
    // so that a reading as small as the marks is not rounded away: 0.05 on a 0.000-0.100 axis is
    // "0.050", not "0.1". A whole number reads without decimals.
    static std::string readOut(const Card& card, double value);

    // A smooth curve through (i, values[i]): centripetal Catmull-Rom (alpha 0.5), reckoned on a
    // chart about four times wider than high so that it neither loops nor overshoots much;
    // `perSegment` points per gap, the given points included. One value gives that point.
    static std::vector<std::pair<double, double>> smoothCurve(const std::vector<double>& values, double yMin,
                                                              double yMax, int perSegment = 8);

private:
    std::vector<Card> cards_;
    std::size_t desiredXLabels_ = 0;
};

}  // namespace solvara
