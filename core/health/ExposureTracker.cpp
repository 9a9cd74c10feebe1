#include "core/health/ExposureTracker.h"

#include <charconv>
#include <cmath>

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

bool isFinite(const ExposureTracker::ExposureRecord& record) {
    return std::isfinite(record.timestamp.secondsSinceReferenceDate) && std::isfinite(record.melanopicEDI) &&
           std::isfinite(record.durationSeconds);
}

// The shortest text that reads back as exactly this number (finite only).
void appendNumber(std::string& out, double value) {
    if (value == 0.0 && std::signbit(value)) {
        out += "-0.0";  // "-0" would read back as the integer 0
        return;
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void appendNumber(std::string& out, std::int64_t value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// One record as a JSON object, keys in the order a JSON library writes them. The records are
// appended at every tick, so this skips building a JSON tree for each.
void appendRecord(std::string& out, const ExposureTracker::ExposureRecord& record) {
    out += R"({"colorTemperature":)";
    appendNumber(out, record.colorTemperature);
    out += R"(,"durationSeconds":)";
    appendNumber(out, record.durationSeconds);
    out += R"(,"isPostDLMO":)";
    out += record.isPostDLMO ? "true" : "false";
    out += R"(,"melanopicEDI":)";
    appendNumber(out, record.melanopicEDI);
    out += R"(,"timestamp":)";
    appendNumber(out, record.timestamp.secondsSinceReferenceDate);
    out += '}';
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

void ExposureTracker::clear() {
    records_.clear();
    encodedDayStart_.reset();
}

std::optional<std::string_view> ExposureTracker::encodeTodayRecords() const {
    const Date start = startOfToday();
    // A new day (or time zone) selects other records: start again (at every call while the
    // start is NaN, which equals nothing).
    if (!encodedDayStart_ || !(*encodedDayStart_ == start)) {
        encoded_.assign("[]");
        encodedCount_ = 0;
        encodedNonFinite_ = false;
        encodedDayStart_ = start;
    }
    for (; encodedCount_ < records_.size(); ++encodedCount_) {
        const ExposureRecord& record = records_[encodedCount_];
        if (record.timestamp < start) continue;
        if (!isFinite(record)) {
            encodedNonFinite_ = true;
            continue;
        }
        encoded_.pop_back();  // the closing bracket
        if (encoded_.size() > 1) encoded_ += ',';
        appendRecord(encoded_, record);
        encoded_ += ']';
    }
    if (encodedNonFinite_) {
        Log::write(component, "Today's exposure records hold a non-finite number; not saved");
        return std::nullopt;
    }
    return std::string_view(encoded_);
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
    encodedDayStart_.reset();
    return true;
}

}  // namespace solvara
