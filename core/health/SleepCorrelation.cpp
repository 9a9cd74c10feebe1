#include "core/health/SleepCorrelation.h"

#include "core/health/HealthMath.h"

namespace solvara {

namespace {

using Snapshot = HealthHistory::DailySnapshot;
using Days = std::vector<const Snapshot*>;

// Mean rating of rated days; 0 when there is none.
double meanRating(const Days& days) {
    return health::meanOfPresent(days, [](const Snapshot* s) { return s->sleepQualityRating; }).value_or(0.0);
}

std::optional<double> meanScore(const Days& days) {
    return health::meanOfPresent(days, [](const Snapshot* s) { return s->circadianScore; });
}

}  // namespace

std::optional<SleepCorrelation::HistoricalInsight> SleepCorrelation::analyzeHistory(
    const std::vector<HealthHistory::DailySnapshot>& snapshots) {
    Days lowDebt;
    Days highDebt;
    Days goodSleep;
    Days poorSleep;
    std::size_t rated = 0;
    for (const auto& snapshot : snapshots) {
        if (!snapshot.sleepQualityRating) continue;
        ++rated;
        // A debt that is not a number falls in neither group.
        if (snapshot.lightDebtPeakPoints <= 20.0) lowDebt.push_back(&snapshot);
        if (snapshot.lightDebtPeakPoints > 20.0) highDebt.push_back(&snapshot);
        // A rating of exactly 3 is neither good nor poor.
        if (*snapshot.sleepQualityRating >= 4) goodSleep.push_back(&snapshot);
        if (*snapshot.sleepQualityRating < 3) poorSleep.push_back(&snapshot);
    }
    if (rated < 3) return std::nullopt;

    HistoricalInsight insight;
    insight.averageSleepOnLowDebt = meanRating(lowDebt);
    insight.averageSleepOnHighDebt = meanRating(highDebt);
    // A group whose days carry no score (an old stored history) has no average rather than
    // 0/0, and so cannot trigger the score advice.
    insight.averageScoreOnGoodSleep = meanScore(goodSleep);
    insight.averageScoreOnPoorSleep = meanScore(poorSleep);

    const bool enoughOfBoth = lowDebt.size() >= 2 && highDebt.size() >= 2;
    if (!enoughOfBoth) {
        insight.sleepLightDebtCorrelation = CorrelationStrength::insufficient;
    } else {
        // Signed: sleeping better on high-debt days is no correlation worth reporting.
        const double difference = insight.averageSleepOnLowDebt - insight.averageSleepOnHighDebt;
        if (difference > 1.0) {
            insight.sleepLightDebtCorrelation = CorrelationStrength::strong;
        } else if (difference > 0.5) {
            insight.sleepLightDebtCorrelation = CorrelationStrength::moderate;
        } else {
            insight.sleepLightDebtCorrelation = CorrelationStrength::weak;
        }
    }

    auto& texts = insight.recommendations;
    if (insight.averageSleepOnHighDebt < 3.0 && highDebt.size() >= 2) {
        texts.emplace_back(
            "Your sleep quality drops on high light debt days. Try enabling red-only mode 2 hours before bed.");
    }
    if (insight.averageScoreOnGoodSleep && insight.averageScoreOnPoorSleep &&
        *insight.averageScoreOnGoodSleep - *insight.averageScoreOnPoorSleep > 10.0) {
        texts.emplace_back(
            "Better circadian scores correlate with better sleep. Staying in Auto mode helps maintain rhythm.");
    }
    if (insight.averageSleepOnLowDebt >= 4.0 && lowDebt.size() >= 2) {
        texts.emplace_back("You sleep well on low light debt days. Keep reducing evening screen brightness.");
    }
    if (texts.empty()) texts.emplace_back("Keep tracking to build stronger correlation data.");
    return insight;
}

SleepCorrelation::Correlation SleepCorrelation::analyze(const SleepData& sleepData, double eveningMelanopicEDI,
                                                        double lightDebt) {
    const double efficiency = sleepData.sleepEfficiency;
    std::string text;
    if (eveningMelanopicEDI > 50.0 && efficiency < 0.8) {
        text = "High evening screen brightness may be affecting sleep. Try enabling red-only mode 2 hours before bed.";
    } else if (lightDebt > 30.0 && efficiency < 0.85) {
        text =
            "Accumulated light debt correlates with reduced sleep quality. Morning sunlight exposure can help reset.";
    } else if (efficiency < 0.9) {
        text =
            "Sleep quality is fair. Consider reducing screen brightness after sunset and following the morning "
            "protocol.";
    } else {
        text = "Excellent sleep efficiency. Your light habits are well-aligned with your circadian rhythm.";
    }
    return Correlation{eveningMelanopicEDI, lightDebt, efficiency, std::move(text)};
}

}  // namespace solvara
