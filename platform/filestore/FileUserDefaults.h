#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/RunLoop.h"
#include "platform/UserDefaults.h"

namespace solvara {

// The user defaults as one JSON file (Linux: $XDG_CONFIG_HOME/solvara/user-defaults.json).
//
// The file is an object of key -> value: Bools, integers, doubles and strings as themselves,
// JSON documents wrapped as {"json": document} so that they never read back as a scalar.
// Entries of any other shape are kept and written back untouched.
//
// Writing: atomically (a temporary file in the same directory, fsync, rename) and only when a
// value really changed, so an unchanged persist costs no disk write. A file that cannot be
// parsed is renamed aside (".corrupt-<time>") and reported, never overwritten; when even that
// fails the store stays in memory and never writes.
class FileUserDefaults final : public UserDefaults {
public:
    // Reads `path` now. With a run loop, changes are written by themselves about one second
    // after the first unsaved change; without one, only flush() and destruction write.
    explicit FileUserDefaults(std::string path, RunLoop* runLoop = nullptr);
    ~FileUserDefaults() override;

    FileUserDefaults(const FileUserDefaults&) = delete;
    FileUserDefaults& operator=(const FileUserDefaults&) = delete;

    // $XDG_CONFIG_HOME/solvara/user-defaults.json, with ~/.config when the variable is unset or
    // not absolute; empty without either.
    static std::optional<std::string> defaultPath();

    bool contains(std::string_view key) const override;
    std::optional<bool> boolValue(std::string_view key) const override;
    std::optional<std::int64_t> integerValue(std::string_view key) const override;
    std::optional<double> realValue(std::string_view key) const override;
    std::optional<std::string> stringValue(std::string_view key) const override;
    std::optional<nlohmann::json> jsonValue(std::string_view key) const override;
    bool set(std::string_view key, Value value) override;
    void remove(std::string_view key) override;
    bool flush() override;

    // Where a corrupt file found at start was moved; empty when there was none.
    const std::optional<std::string>& keptAsidePath() const { return keptAside_; }
    // Completed writes of the file since construction (for tests and benchmarks).
    int writeCount() const { return writeCount_; }

private:
    void load();
    void markChanged();
    bool writeFile(const std::string& bytes);
    const nlohmann::json* find(std::string_view key) const;

    std::string path_;
    RunLoop* runLoop_ = nullptr;
    nlohmann::json entries_ = nlohmann::json::object();
    std::string lastWritten_;  // the bytes on disk as far as we know
    bool dirty_ = false;
    bool writable_ = true;
    TimerId pendingFlush_ = 0;
    std::optional<std::string> keptAside_;
    int writeCount_ = 0;
};

}  // namespace solvara
