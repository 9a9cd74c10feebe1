#include "core/health/HealthHistory.h"

#include <algorithm>
#include <limits>

#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"
#include "core/foundation/Json.h"
#include "core/foundation/Log.h"
#include "core/health/HealthMath.h"

namespace solvara {

namespace {

constexpr std::string_view component = "HealthHistory";

using Snapshot = HealthHistory::DailySnapshot;

template <class Get>
std::optional<double> meanOf(const std::vector<Snapshot>& snapshots, Get value) {
    if (snapshots.empty()) return std::nullopt;
    double sum = 0.0;
    for (const auto& snapshot : snapshots) sum += value(snapshot);
    return sum / static_cast<double>(snapshots.size());
}

std::optional<double> meanScore(const std::vector<Snapshot>& snapshots) {
    return health::meanOfPresent(snapshots, [](const Snapshot& s) { return s.circadianScore; });
}

std::optional<double> meanRating(const std::vector<Snapshot>& snapshots) {
    return health::meanOfPresent(snapshots, [](const Snapshot& s) { return s.sleepQualityRating; });
}

std::int64_t scoreOrZero(const Snapshot& snapshot) {
    return snapshot.circadianScore.value_or(0);
}

json::Json encodeSnapshot(const Snapshot& snapshot) {
    json::Json object{
        {"date", snapshot.date},
        {"screenTimeHours", snapshot.screenTimeHours},
        {"lightDebtPeakPoints", snapshot.lightDebtPeakPoints},
        {"breakComplianceRatio", snapshot.breakComplianceRatio},
        {"breaksCompleted", snapshot.breaksCompleted},
        {"breaksSkipped", snapshot.breaksSkipped},
    };
    if (snapshot.circadianScore) object["circadianScore"] = *snapshot.circadianScore;
    if (snapshot.sleepQualityRating) object["sleepQualityRating"] = *snapshot.sleepQualityRating;
    return object;
}

// A stored date is the key of a real day, digits only: a row of the exported CSV and the
// string order of the selections both rely on it.
bool isDayKey(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? text[i] != '-' : (text[i] < '0' || text[i] > '9')) return false;
    }
    return text.size() == 10 && Calendar::dateFromDayKey(text).has_value();
}

// What one day can hold. The upper bounds of the counts and the debt are the ones the state
// holds the day's own counters to when it reads them back: far above any real day, low enough
// that the week's sums cannot overflow.
constexpr double hoursPerDay = 24.0;
constexpr double maximumDebtPoints = 1.0e6;
constexpr std::int64_t maximumBreaks = 1'000'000;
constexpr std::int64_t maximumScore = 100;
constexpr std::int64_t lowestRating = 1;
constexpr std::int64_t highestRating = 5;

template <class T>
void clampInto(T& value, T low, T high, bool& clamped) {
    const T inRange = std::clamp(value, low, high);
    clamped = clamped || inRange != value;
    value = inRange;
}

// Holds a stored snapshot (perhaps edited by hand) to the ranges the views and the averages
// expect; true when a value had to be moved. A rating below 1 is no rating: 0 is how the state
// says "not rated".
bool clampToRanges(Snapshot& snapshot) {
    bool clamped = false;
    clampInto(snapshot.screenTimeHours, 0.0, hoursPerDay, clamped);
    clampInto(snapshot.lightDebtPeakPoints, 0.0, maximumDebtPoints, clamped);
    clampInto(snapshot.breakComplianceRatio, 0.0, 1.0, clamped);
    clampInto(snapshot.breaksCompleted, std::int64_t{0}, maximumBreaks, clamped);
    clampInto(snapshot.breaksSkipped, std::int64_t{0}, maximumBreaks, clamped);
    if (snapshot.circadianScore) clampInto(*snapshot.circadianScore, std::int64_t{0}, maximumScore, clamped);
    if (snapshot.sleepQualityRating && *snapshot.sleepQualityRating < lowestRating) {
        snapshot.sleepQualityRating.reset();
        clamped = true;
    }
    if (snapshot.sleepQualityRating) clampInto(*snapshot.sleepQualityRating, lowestRating, highestRating, clamped);
    return clamped;
}

std::optional<Snapshot> decodeSnapshot(const json::Json& value) {
    json::ObjectReader reader(value);
    Snapshot snapshot;
    snapshot.date = reader.required<std::string>("date");
    snapshot.screenTimeHours = reader.required<double>("screenTimeHours");
    snapshot.lightDebtPeakPoints = reader.required<double>("lightDebtPeakPoints");
    snapshot.breakComplianceRatio = reader.required<double>("breakComplianceRatio");
    snapshot.breaksCompleted = reader.required<std::int64_t>("breaksCompleted");
    snapshot.breaksSkipped = reader.required<std::int64_t>("breaksSkipped");
    snapshot.circadianScore = reader.optional<std::int64_t>("circadianScore");
    snapshot.sleepQualityRating = reader.optional<std::int64_t>("sleepQualityRating");
    if (!reader.ok()) return std::nullopt;
    if (!isDayKey(snapshot.date)) {
        Log::write(component, "A stored daily snapshot has no yyyy-MM-dd date");
        return std::nullopt;
    }
    return snapshot;
}

}  // namespace

void HealthHistory::recordDay(const std::string& date, double screenTimeHours, double lightDebtPeakPoints,
                              double breakComplianceRatio, std::int64_t breaksCompleted, std::int64_t breaksSkipped,
                              std::optional<std::int64_t> circadianScore,
                              std::optional<std::int64_t> sleepQualityRating) {
    std::erase_if(snapshots_, [&date](const Snapshot& snapshot) { return snapshot.date == date; });
    snapshots_.push_back(Snapshot{date, screenTimeHours, lightDebtPeakPoints, breakComplianceRatio, breaksCompleted,
                                  breaksSkipped, circadianScore, sleepQualityRating});
    if (snapshots_.size() > maximumDays) {
        snapshots_.erase(snapshots_.begin(), snapshots_.end() - static_cast<std::ptrdiff_t>(maximumDays));
    }
}

std::vector<Snapshot> HealthHistory::recentSnapshots(std::int64_t days) const {
    // A span the calendar cannot step back by selects everything.
    constexpr std::int64_t largest = std::numeric_limits<int>::max();
    if (days > largest || days < -largest) return snapshots_;
    const auto cutoffDate = Calendar::addingDays(-static_cast<int>(days), Clock::now());
    if (!cutoffDate) return snapshots_;
    const std::string cutoff = dateString(*cutoffDate);
    std::vector<Snapshot> selection;
    std::copy_if(snapshots_.begin(), snapshots_.end(), std::back_inserter(selection),
                 [&cutoff](const Snapshot& snapshot) { return !(snapshot.date < cutoff); });
    return selection;
}

std::optional<double> HealthHistory::avgScreenTime(std::int64_t days) const {
    return meanOf(recentSnapshots(days), [](const Snapshot& s) { return s.screenTimeHours; });
}

std::optional<double> HealthHistory::avgBreakCompliance(std::int64_t days) const {
    return meanOf(recentSnapshots(days), [](const Snapshot& s) { return s.breakComplianceRatio; });
}

std::optional<double> HealthHistory::avgLightDebt(std::int64_t days) const {
    return meanOf(recentSnapshots(days), [](const Snapshot& s) { return s.lightDebtPeakPoints; });
}

std::optional<double> HealthHistory::avgCircadianScore(std::int64_t days) const {
    return meanScore(recentSnapshots(days));
}

std::optional<double> HealthHistory::avgSleepQuality(std::int64_t days) const {
    return meanRating(recentSnapshots(days));
}

std::vector<Snapshot> HealthHistory::snapshotsForLastDays(std::int64_t days) const {
    auto selection = recentSnapshots(days);
    std::stable_sort(selection.begin(), selection.end(),
                     [](const Snapshot& a, const Snapshot& b) { return a.date < b.date; });
    return selection;
}

std::optional<HealthHistory::WeeklyReport> HealthHistory::weeklyReport() const {
    const auto week = recentSnapshots(7);
    if (week.empty()) return std::nullopt;

    WeeklyReport report;
    report.daysTracked = static_cast<std::int64_t>(week.size());
    const Snapshot* best = &week.front();
    const Snapshot* worst = &week.front();
    for (const auto& snapshot : week) {
        report.totalScreenTimeHours += snapshot.screenTimeHours;
        report.totalBreaksCompleted = health::saturatingAdd(report.totalBreaksCompleted, snapshot.breaksCompleted);
        report.totalBreaksSkipped = health::saturatingAdd(report.totalBreaksSkipped, snapshot.breaksSkipped);
        // Strict comparisons: a tie keeps the earlier snapshot.
        if (scoreOrZero(snapshot) > scoreOrZero(*best)) best = &snapshot;
        if (scoreOrZero(snapshot) < scoreOrZero(*worst)) worst = &snapshot;
    }
    const double days = static_cast<double>(week.size());
    report.avgScreenTimeHours = report.totalScreenTimeHours / days;
    report.avgLightDebt = *meanOf(week, [](const Snapshot& s) { return s.lightDebtPeakPoints; });
    report.avgBreakCompliance = *meanOf(week, [](const Snapshot& s) { return s.breakComplianceRatio; });
    report.avgCircadianScore = meanScore(week);
    report.avgSleepQuality = meanRating(week);
    report.bestDay = *best;
    report.worstDay = *worst;
    return report;
}

std::string HealthHistory::dateString(Date date) {
    return Calendar::dayKey(date);
}

std::optional<std::string> HealthHistory::encode() const {
    json::Json document = json::Json::array();
    for (const auto& snapshot : snapshots_) document.push_back(encodeSnapshot(snapshot));
    auto text = json::encode(document);
    if (!text) Log::write(component, "A daily snapshot holds a non-finite number; the history is not saved");
    return text;
}

bool HealthHistory::restore(std::string_view data) {
    const auto document = json::parse(data);
    if (!document || !document->is_array()) {
        Log::write(component, "Stored health history is not a JSON array; keeping the current one");
        return false;
    }
    std::vector<Snapshot> decoded;
    decoded.reserve(document->size());
    std::size_t clamped = 0;
    for (const auto& element : *document) {
        auto snapshot = decodeSnapshot(element);
        if (!snapshot) {
            Log::write(component, "A stored daily snapshot is incomplete or mistyped; keeping the current history");
            return false;
        }
        if (clampToRanges(*snapshot)) ++clamped;
        decoded.push_back(std::move(*snapshot));
    }
    if (clamped > 0) {
        Log::write(component, "Stored health history: values out of range in " +
                                  format::integer(static_cast<std::int64_t>(clamped)) + " of " +
                                  format::integer(static_cast<std::int64_t>(decoded.size())) +
                                  " daily snapshots, held to their ranges");
    }
    snapshots_ = std::move(decoded);
    return true;
}

}  // namespace solvara
