#pragma once

#include <string>
#include <vector>

#include "core/health/HealthHistory.h"

namespace solvara::healthexports {

// The two files the health tab writes. Both are UTF-8 without a byte-order mark, every line
// ended by a single line feed; numbers are C-style ("%.2f" with a point) whatever the user's
// locale.

inline constexpr const char* healthDataFileName = "Solvara-HealthData.csv";
inline constexpr const char* weeklyReportFileName = "Solvara-WeeklyReport.txt";

inline constexpr const char* csvHeader =
    "Date,Screen Time (hrs),Light Debt Peak,Break Compliance,Breaks Completed,Breaks Skipped,Circadian Score,"
    "Sleep Quality\n";

// One line of the health-data file, line feed included. The date is written as stored; a date
// that could break the row (a comma, a quote, a line break) is quoted as RFC 4180 says, and a
// number that is not finite is left empty rather than written as "nan".
std::string csvRow(const HealthHistory::DailySnapshot& snapshot);

// The header and one row per snapshot in the order given (the caller passes them by date).
std::string healthDataCsv(const std::vector<HealthHistory::DailySnapshot>& snapshots);

// The whole health-data file: the last 365 days of the history, oldest first.
std::string healthDataFile(const HealthHistory& history);

// The weekly report file: title, thirty "=", a blank line, then one "Label: value" line per
// figure; the score and sleep lines only when the week has them.
std::string weeklyReportText(const HealthHistory::WeeklyReport& report);

}  // namespace solvara::healthexports
