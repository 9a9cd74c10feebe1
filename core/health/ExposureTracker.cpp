#include "core/health/ExposureTracker.h"

#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Json.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "ExposureTracker";

Date startOfToday() {
    return Calendar::startOfDay(Clock::now());
}

json::Json encodeRecord(const ExposureTracker::ExposureRecord& record) {
    return json::Json{
        {"timestamp", json::encodeDate(record.timestamp)},
        {"colorTemperature", record.colorTemperature},
        {"melanopicEDI", record.melanopicEDI},
        {"durationSeconds", record.durationSeconds},
        {"isPostDLMO", record.isPostDLMO},
    };
}

std::optional<ExposureTracker::ExposureRecord> decodeRecord(const json::Json& value) {
    json::ObjectReader reader(value);
    ExposureTracker::ExposureRecord record;
    record.timestamp = reader.required<Date>("timestamp");
    record.colorTemperature = reader.required<std::int64_t>("colorTemperature");
    record.melanopicEDI = reader.required<double>("melanopicEDI");
    record.durationSeconds = reader.required<double>("durationSeconds");
    record.isPostDLMO = reader.required<bool>("isPostDLMO");
    if (!reader.ok()) return std::nullopt;
    return record;
}

}  // namespace

void ExposureTracker::log(std::int64_t kelvin, double melanopicEDI, double duration, bool isPostDLMO) {
    records_.push_back(ExposureRecord{Clock::now(), kelvin, melanopicEDI, duration, isPostDLMO});
}

double ExposureTracker::averageMelanopicEDI(Date from, Date to) const {
    double weighted = 0.0;
    double total = 0.0;
    for (const auto& record : records_) {
        // Written as the inclusive range itself, so that an invalid (NaN) bound selects nothing.
        if (!(from <= record.timestamp && record.timestamp <= to)) continue;
        weighted += record.melanopicEDI * record.durationSeconds;
        total += record.durationSeconds;
    }
    return total > 0.0 ? weighted / total : 0.0;
}

double ExposureTracker::todayScreenTimeHours() const {
    const Date start = startOfToday();
    double seconds = 0.0;
    for (const auto& record : records_) {
        if (!(record.timestamp < start)) seconds += record.durationSeconds;
    }
    return seconds / 3600.0;
}

std::optional<std::string> ExposureTracker::encodeTodayRecords() const {
    const Date start = startOfToday();
    json::Json document = json::Json::array();
    for (const auto& record : records_) {
        if (!(record.timestamp < start)) document.push_back(encodeRecord(record));
    }
    auto text = json::encode(document);
    if (!text) Log::write(component, "Today's exposure records hold a non-finite number; not saved");
    return text;
}

bool ExposureTracker::restoreRecords(std::string_view data) {
    const auto document = json::parse(data);
    if (!document || !document->is_array()) {
        Log::write(component, "Stored exposure records are not a JSON array; keeping the current ones");
        return false;
    }
    std::vector<ExposureRecord> decoded;
    decoded.reserve(document->size());
    for (const auto& element : *document) {
        auto record = decodeRecord(element);
        if (!record) {
            Log::write(component, "A stored exposure record is incomplete or mistyped; keeping the current ones");
            return false;
        }
        decoded.push_back(*record);
    }
    const Date start = startOfToday();
    std::erase_if(decoded, [start](const ExposureRecord& record) { return record.timestamp < start; });
    records_ = std::move(decoded);
    return true;
}

}  // namespace solvara
