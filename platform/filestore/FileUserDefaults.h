#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/RunLoop.h"
#include "platform/UserDefaults.h"

namespace solvara {

// The user defaults as one JSON file (Linux: $XDG_CONFIG_HOME/solvara/user-defaults.json).
//
// The file is an object of key -> value, one entry a line: Bools, integers, doubles and
// strings as themselves, JSON documents wrapped as {"json": document} so that they never read
// back as a scalar. Documents handed in as text are copied into the file as they are, never
// parsed. Entries of any other shape are kept and written back untouched.
//
// Writing: atomically (a temporary file in the same directory, fsync, rename) and only when a
// value really changed, so an unchanged persist costs no disk write. A change is written at
// once (a burst within a quarter second in one write); changes of the sample keys alone (values
// that change at every update, such as the day's exposure samples) at most once a minute. The
// automatic writes run
// on a background worker, so the main thread never waits for the disk; writes land in the
// order they were made (an older one never replaces a newer one). A file that would not read
// back (a document given as text that is not valid JSON) is never written: the documents that
// are not are dropped, logged, and the rest written. What is no settings file of ours at start
// (not JSON, not an object, nested deeper than any of ours, far larger than any of ours, a file
// of another user, one others may write to in a directory they may enter, or no regular file: a
// FIFO, a symlink, a device) is renamed aside (".corrupt-<time>") and reported, never
// overwritten, and the start goes on from defaults; when even that fails the store stays in
// memory and never writes. The directory is checked like the runtime directory: one that
// belongs to another user or is writable by others or by a group with another member
// (WriteAccess.h) is neither read nor written (logged; the store stays in memory); a missing
// one is made, 0700, at start. A symbolic link
// of the user's own is followed to a directory that passes the same checks. The file is read
// and written through the directory opened and checked; when the path leads to another
// directory or none (moved away, the link pointed elsewhere), it is made if missing, checked
// and opened again before the next write. A failed write is logged once until a write
// succeeds again.
class FileUserDefaults final : public UserDefaults {
public:
    using KeySet = std::set<std::string, std::less<>>;

    // Reads `path` now. With a run loop, changes are written by themselves, in the background: a
    // quarter second after a change, or, when only `sampleKeys` changed, a second after the
    // first unsaved change but no sooner than a minute after the previous write. Without a run
    // loop only flush() and destruction write.
    explicit FileUserDefaults(std::string path, RunLoop* runLoop = nullptr, KeySet sampleKeys = {});
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
    // Writes now, on the calling thread (shutdown, tests); waits for a background write.
    bool flush() override;

    // The settings directory and why it was not used ("<dir>: it belongs to another user");
    // empty when it is used.
    const std::optional<std::string>& refusedDirectory() const { return refusedDirectory_; }
    // Where a corrupt file found at start was moved; empty when there was none.
    const std::optional<std::string>& keptAsidePath() const { return keptAside_; }
    // Completed writes of the file since construction (for tests and benchmarks).
    int writeCount() const;

private:
    // Shared with the background writes: one write at a time, and the newest one written.
    struct Writer {
        ~Writer();
        std::mutex mutex;
        std::string path;
        std::string directory;
        std::string fileName;
        // The settings directory as checked, once it is; the file is read and written through it.
        int directoryFd = -1;
        // Logs a failed write unless it failed so before since the last write that succeeded.
        void reportFailure(const std::string& text);
        std::set<std::string> reportedFailures;
        std::uint64_t writtenGeneration = 0;
        int writeCount = 0;
    };

    // False (logged) when the file's directory is not for us to use; makes it when missing.
    bool directoryIsOurs();
    void load();
    // Schedules the automatic write that `key`'s change calls for; an empty key is a retry.
    void markChanged(std::string_view key);
    bool setDocumentText(std::string_view key, std::string_view text);
    // The whole file: the entries and the text documents, in key order.
    std::optional<std::string> encodeFile() const;
    // The file's new content when it differs from what was last written; marks it written.
    std::optional<std::string> takeChangedBytes();
    // Drops (and logs) the text documents that are not valid JSON.
    void dropUnreadableDocuments();
    void writeInBackground();
    // Opens (and checks) the directory when that was not done at start; false when it cannot be.
    static bool openDirectoryForWriting(Writer& writer);
    static bool writeFile(Writer& writer, const std::string& bytes);
    static bool writeGeneration(Writer& writer, const std::string& bytes, std::uint64_t generation);
    const nlohmann::json* find(std::string_view key) const;

    std::string path_;
    RunLoop* runLoop_ = nullptr;
    KeySet sampleKeys_;
    // Every key is in one of the two: values as trees (read from the file, or handed in so),
    // and documents handed in as text.
    nlohmann::json entries_ = nlohmann::json::object();
    std::map<std::string, std::string, std::less<>> documents_;
    std::string lastWritten_;  // the bytes on disk as far as we know
    bool dirty_ = false;
    bool writable_ = true;
    TimerId pendingFlush_ = 0;
    Date pendingDue_;
    std::optional<Date> lastWrite_;  // when the last write was handed out (run loop time)
    std::optional<std::string> keptAside_;
    std::optional<std::string> refusedDirectory_;
    std::uint64_t generation_ = 0;
    std::shared_ptr<Writer> writer_ = std::make_shared<Writer>();
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace solvara
