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
    void clear();

    // Today's records as a JSON array; absent when one of them holds a non-finite number, so
    // that the stored copy is kept rather than replaced by a document that cannot be read back.
    // The text is kept and extended as samples are logged (a day of them is a megabyte, stored
    // every ten seconds), so a call costs the samples logged since the last one. The view is
    // valid until the tracker next changes or encodes: copy it to keep it.
    std::optional<std::string_view> encodeTodayRecords() const;
    // Replaces the records with today's records of the document; leaves them untouched when
    // the document is unreadable: false (logged).
    bool restoreRecords(std::string_view data);

    const std::vector<ExposureRecord>& records() const { return records_; }

private:
    std::vector<ExposureRecord> records_;

    // The document of today's records among the first `encodedCount_` records, for the day
    // that starts at `encodedDayStart_`; absent start: to be rebuilt (records replaced).
    mutable std::string encoded_;
    mutable std::size_t encodedCount_ = 0;
    mutable std::optional<Date> encodedDayStart_;
    mutable bool encodedNonFinite_ = false;
};

}  // namespace solvara
