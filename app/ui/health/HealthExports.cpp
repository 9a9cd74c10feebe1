#include "app/ui/health/HealthExports.h"

#include <cmath>

#include "app/ui/health/HealthFigures.h"
#include "core/foundation/Format.h"

namespace solvara::healthexports {

namespace {

std::string quotedIfNeeded(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string number(double value, int decimals) {
    return std::isfinite(value) ? format::fixed(value, decimals) : std::string();
}

std::string optionalInteger(const std::optional<std::int64_t>& value) {
    return value ? format::integer(*value) : std::string();
}

}  // namespace

std::string csvRow(const HealthHistory::DailySnapshot& s) {
    std::string row = quotedIfNeeded(s.date);
    for (const std::string& field : {
             number(s.screenTimeHours, 2),
             number(s.lightDebtPeakPoints, 1),
             number(s.breakComplianceRatio, 2),
             format::integer(s.breaksCompleted),
             format::integer(s.breaksSkipped),
             optionalInteger(s.circadianScore),
             optionalInteger(s.sleepQualityRating),
         }) {
        row += ',';
        row += field;
    }
    row += '\n';
    return row;
}

std::string healthDataCsv(const std::vector<HealthHistory::DailySnapshot>& snapshots) {
    std::string text = csvHeader;
    text.reserve(text.size() + snapshots.size() * 40);
    for (const auto& snapshot : snapshots) text += csvRow(snapshot);
    return text;
}

std::string healthDataFile(const HealthHistory& history) {
    return healthDataCsv(history.snapshotsForLastDays(365));
}

std::string weeklyReportText(const HealthHistory::WeeklyReport& r) {
    using healthfigures::percentOf;
    std::string text = "Solvara Weekly Report\n";
    text += std::string(30, '=') + "\n\n";
    text += "Days Tracked: " + format::integer(r.daysTracked) + "\n";
    text += "Total Screen Time: " + format::fixed(r.totalScreenTimeHours, 1) + " hours\n";
    text += "Average Screen Time: " + format::fixed(r.avgScreenTimeHours, 1) + " hours/day\n";
    text += "Average Light Debt: " + healthfigures::debtLabel(r.avgLightDebt) + "\n";
    text += "Break Compliance: " + format::integer(percentOf(r.avgBreakCompliance)) + "%\n";
    text += "Breaks Completed: " + format::integer(r.totalBreaksCompleted) + "\n";
    text += "Breaks Skipped: " + format::integer(r.totalBreaksSkipped) + "\n";
    if (r.avgCircadianScore) {
        text +=
            "Average Circadian Score: " + format::integer(healthfigures::truncated(*r.avgCircadianScore)) + "/100\n";
    }
    if (r.avgSleepQuality) text += "Average Sleep Quality: " + format::fixed(*r.avgSleepQuality, 1) + "/5\n";
    return text;
}

}  // namespace solvara::healthexports
