#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Date.h"

namespace solvara {

// The day's log of screen-light samples, from which come the day's screen time and a
// duration-weighted mean melanopic EDI; stored as a JSON array of records. "Today" is every
// record stamped at or after local midnight of the current day (no upper bound). It decides
// nothing on its own: the owner logs, clears at the day rollover and stores what encode gives.
// Main thread only.
class ExposureTracker {
public:
    struct ExposureRecord {
        Date timestamp;
        std::int64_t colorTemperature = 0;  // kelvin
        double melanopicEDI = 0.0;          // lux
        double durationSeconds = 0.0;
        bool isPostDLMO = false;  // after the user's dim-light melatonin onset

        bool operator==(const ExposureRecord&) const = default;
    };

    ExposureTracker() = default;

    // Appends one sample stamped with the current moment.
    void log(std::int64_t kelvin, double melanopicEDI, double duration, bool isPostDLMO);

    // Duration-weighted mean EDI of the records with from <= timestamp <= to; 0 when there is
    // none or their durations add up to nothing.
    double averageMelanopicEDI(Date from, Date to) const;
    double todayScreenTimeHours() const;
    void clear() { records_.clear(); }

    // Today's records as a JSON array; absent when one of them holds a non-finite number, so
    // that the stored copy is kept rather than replaced by a document that cannot be read back.
    std::optional<std::string> encodeTodayRecords() const;
    // Replaces the records with today's records of the document; leaves them untouched when
    // the document is unreadable: false (logged).
    bool restoreRecords(std::string_view data);

    const std::vector<ExposureRecord>& records() const { return records_; }

private:
    std::vector<ExposureRecord> records_;
};

}  // namespace solvara
