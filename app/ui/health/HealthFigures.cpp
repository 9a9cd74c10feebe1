#include "app/ui/health/HealthFigures.h"

#include <array>
#include <cmath>
#include <limits>

#include "core/foundation/Format.h"
#include "core/health/HealthMath.h"
#include "core/health/LightDebtCalculator.h"

namespace solvara::healthfigures {

namespace {

constexpr std::array<const char*, 6> ratingLabels{"", "Poor", "Fair", "Okay", "Good", "Great"};

}  // namespace

std::int64_t truncated(double value) {
    if (std::isnan(value)) return 0;
    // 2^63 is the first double past the range.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit) return std::numeric_limits<std::int64_t>::max();
    if (value < -limit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

std::int64_t percentOf(double ratio) {
    return truncated(ratio * 100.0);
}

std::string lightDebtText(double points) {
    return format::fixed(points, 1) + " points";
}

std::string screenTimeText(double hours) {
    const std::int64_t seconds = truncated(hours * 3600.0);
    if (seconds < 60) return format::integer(seconds) + "s";
    if (seconds < 3600) return format::integer(seconds / 60) + "m";
    return format::fixed(hours, 1) + " hrs";
}

std::string scoreText(std::int64_t score) {
    return format::integer(score) + "/100";
}

std::string debtLabel(double points) {
    std::string word(LightDebtCalculator::DebtLevel::fromPoints(points).rawValue());
    word.front() = static_cast<char>(word.front() - 'a' + 'A');
    return word;
}

HealthColor debtColor(double points) {
    switch (LightDebtCalculator::DebtLevel::fromPoints(points)) {
        case LightDebtCalculator::DebtLevel::low:
            return HealthColor::green;
        case LightDebtCalculator::DebtLevel::medium:
            return HealthColor::yellow;
        case LightDebtCalculator::DebtLevel::high:
            return HealthColor::orange;
        case LightDebtCalculator::DebtLevel::critical:
            break;
    }
    return HealthColor::red;
}

HealthColor scoreColor(std::int64_t score) {
    if (score >= 90 && score <= 100) return HealthColor::green;
    if (score >= 75 && score <= 89) return HealthColor::blue;
    if (score >= 60 && score <= 74) return HealthColor::yellow;
    if (score >= 40 && score <= 59) return HealthColor::orange;
    return HealthColor::red;
}

std::vector<StatCard> weeklyStatCards(const HealthHistory::WeeklyReport& r) {
    std::vector<StatCard> cards;
    cards.push_back({"Days Tracked", format::integer(r.daysTracked), "calendar", HealthColor::blue});
    if (r.avgCircadianScore) {
        const std::int64_t score = truncated(*r.avgCircadianScore);
        cards.push_back({"Avg Score", format::integer(score), "gauge.with.dots.needle.33percent", scoreColor(score)});
    }
    cards.push_back(
        {"Screen Time", format::fixed(r.totalScreenTimeHours, 1) + "h", "desktopcomputer", HealthColor::purple});
    cards.push_back({"Avg Debt", debtLabel(r.avgLightDebt), "moon.haze", debtColor(r.avgLightDebt)});
    cards.push_back({"Compliance", format::integer(percentOf(r.avgBreakCompliance)) + "%", "eye", HealthColor::green});
    const std::int64_t allBreaks = health::saturatingAdd(r.totalBreaksCompleted, r.totalBreaksSkipped);
    cards.push_back({"Breaks", format::integer(r.totalBreaksCompleted) + "/" + format::integer(allBreaks),
                     "checkmark.circle", HealthColor::teal});
    return cards;
}

std::vector<InsightLine> weeklyInsights(const HealthHistory::WeeklyReport& r) {
    std::vector<InsightLine> lines;
    if (r.avgScreenTimeHours > 10.0) {
        lines.push_back(
            {"exclamationmark.triangle", HealthColor::orange,
             "High screen time averaging " + format::fixed(r.avgScreenTimeHours, 1) + "h/day. Consider more breaks."});
    }
    if (r.avgLightDebt > 30.0) {
        lines.push_back({"moon.haze", HealthColor::red,
                         "Elevated light debt. Try enabling red-only mode 2 hours before bed and getting morning "
                         "sunlight."});
    }
    if (r.avgBreakCompliance < 0.5) {
        lines.push_back({"eye.slash", HealthColor::orange,
                         "Low break compliance at " + format::integer(percentOf(r.avgBreakCompliance)) +
                             "%. The 20-20-20 rule reduces eye strain significantly."});
    }
    if (r.avgCircadianScore && *r.avgCircadianScore >= 80.0) {
        lines.push_back({"checkmark.seal", HealthColor::green,
                         "Great circadian health this week! Your light habits are well-aligned."});
    }
    if (r.avgLightDebt <= 10.0 && r.avgBreakCompliance >= 0.8) {
        lines.push_back({"star", HealthColor::yellow, "Excellent week. Low light debt and high break compliance."});
    }
    return lines;
}

std::string averageSleepText(double rating) {
    return format::fixed(rating, 1) + " / 5";
}

namespace {

std::optional<DayRow> dayRow(const std::optional<HealthHistory::DailySnapshot>& day, const char* label) {
    if (!day || !day->circadianScore) return std::nullopt;
    return DayRow{label + day->date, "Score " + format::integer(*day->circadianScore)};
}

}  // namespace

std::optional<DayRow> bestDayRow(const HealthHistory::WeeklyReport& report) {
    return dayRow(report.bestDay, "Best day: ");
}

std::optional<DayRow> worstDayRow(const HealthHistory::WeeklyReport& report) {
    return dayRow(report.worstDay, "Needs work: ");
}

int ratedStars(std::int64_t rating) {
    if (rating < 0) return 0;
    return rating > 5 ? 5 : static_cast<int>(rating);
}

std::string ratingLabel(std::int64_t rating) {
    if (rating < 1 || rating > 5) return "";
    return ratingLabels[static_cast<std::size_t>(rating)];
}

std::optional<std::string> sevenDaySleepInsight(std::optional<double> averageSleep, std::optional<double> averageDebt) {
    if (!averageSleep || !averageDebt) return std::nullopt;
    if (*averageDebt > 30.0 && *averageSleep < 3.5) {
        return "Your sleep quality tends to be lower on high light debt days. Try reducing screen brightness after "
               "sunset.";
    }
    if (*averageSleep >= 4.0) {
        return "Your sleep quality is strong. Your light habits appear well-aligned with your circadian rhythm.";
    }
    return "7-day avg sleep quality: " + format::fixed(*averageSleep, 1) + "/5";
}

HealthColor strengthColor(SleepCorrelation::CorrelationStrength strength) {
    switch (strength) {
        case SleepCorrelation::CorrelationStrength::strong:
            return HealthColor::red;
        case SleepCorrelation::CorrelationStrength::moderate:
            return HealthColor::orange;
        case SleepCorrelation::CorrelationStrength::weak:
            return HealthColor::blue;
        case SleepCorrelation::CorrelationStrength::insufficient:
            break;
    }
    return HealthColor::secondary;
}

int averageStars(double average) {
    int stars = 0;
    for (int i = 1; i <= 5; ++i) {
        if (average >= i) stars = i;
    }
    return stars;
}

std::string averageRatingText(double average) {
    return format::fixed(average, 1) + " avg";
}

std::optional<std::string> scoreComparisonText(std::optional<double> good, std::optional<double> poor) {
    if (!good || !poor) return std::nullopt;
    return "Circadian score on good sleep nights: " + format::integer(truncated(*good)) +
           " vs poor sleep: " + format::integer(truncated(*poor));
}

}  // namespace solvara::healthfigures
