#include "platform/filestore/FileUserDefaults.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"
#include "core/foundation/Json.h"
#include "core/foundation/Log.h"
#include "platform/posix/PrivateDirectory.h"
#include "platform/posix/WriteAccess.h"

namespace solvara {

namespace {

constexpr std::string_view component = "UserDefaults";
// A year of health history, a full day of exposure samples and a few profiles and displays make a
// file of under a megabyte (bench_state's file_kib). A file far beyond that is not a settings file we wrote, and
// holding it would mean rewriting it whole at every change: it is kept aside like a corrupt one.
constexpr off_t maxFileBytes = 8 * 1024 * 1024;
// A user's change goes out at once; only a burst of them (a slider dragged) is gathered for this
// long into one write.
constexpr double userChangeDelaySeconds = 0.25;
// A sample after a quiet spell goes out after this delay.
constexpr double autoFlushDelaySeconds = 1.0;
// A day of exposure samples makes the file a megabyte, and one of them changes at every
// ten-second update: written at each change that would be about 8 GB a day of disk writes
// (each with an fsync). While only samples change, the file is written at most once a minute;
// what a crash can lose is that minute's samples, never a user's change.
constexpr double minimumWriteIntervalSeconds = 60.0;
constexpr const char* documentKey = "json";

std::string errnoText(int error) {
    return std::strerror(error);
}

std::string parentDirectory(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Creates every missing directory of `dir` with mode 0700; answers why that failed.
std::optional<std::string> makeDirectories(const std::string& dir) {
    struct stat info {};
    if (::stat(dir.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return std::nullopt;
        return dir + " is not a folder";
    }
    if (const int error = errno; error != ENOENT && error != ENOTDIR) {
        return "cannot look at " + dir + ": " + errnoText(error);
    }
    const std::string parent = parentDirectory(dir);
    if (parent != dir) {
        if (auto why = makeDirectories(parent)) return why;
    }
    // A dangling link of ours fails with EEXIST: opening the directory says what it is.
    if (::mkdir(dir.c_str(), 0700) == 0) return std::nullopt;
    const int error = errno;
    if (error == EEXIST) return std::nullopt;
    return "cannot create " + dir + ": " + errnoText(error);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// What is at the settings path: nothing, the bytes of a regular file, or something unusable
// (a FIFO, a device, a symlink, a directory, a file far too large, a read error), described.
struct FileRead {
    bool absent = false;
    std::optional<std::string> bytes;
    std::string unusable;
};

std::string fileKind(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    return "not a regular file";
}

// Whether users other than the owner may pass through the directory to the files in it; taken
// as so when it cannot be looked at.
bool othersMayEnter(int dirFd) {
    struct stat info {};
    return ::fstat(dirFd, &info) != 0 || outsidersOf(dirFd, info, S_IXGRP | S_IXOTH);
}

FileRead readRegularFile(int dirFd, const std::string& name) {
    FileRead result;
    if (dirFd < 0) {
        result.absent = true;  // no settings directory yet
        return result;
    }
    // Non-blocking: a FIFO planted at the path must not hang the start waiting for a writer.
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            result.absent = true;
        } else {
            result.unusable = errno == ELOOP ? "a symbolic link" : errnoText(errno);
        }
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result.unusable = errnoText(errno);
    } else if (!S_ISREG(info.st_mode)) {
        result.unusable = fileKind(info.st_mode);
    } else if (info.st_uid != ::geteuid()) {
        // Put there by someone who once could write to the directory: what it says is theirs.
        result.unusable = "it belongs to another user";
    } else if (const Outsiders writers = outsidersOf(fd, info, S_IWGRP | S_IWOTH); writers && othersMayEnter(dirFd)) {
        // In a directory no one else may enter (a copy made by hand or restored under umask 002
        // into the 0700 one) no one else could have written it: it is read, and saved 0600.
        result.unusable = "it " + writers.phrase();
    } else if (info.st_size > maxFileBytes) {
        result.unusable = format::integer(info.st_size) + " bytes, far beyond any settings file";
    } else {
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(info.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR) continue;
                result.unusable = errnoText(errno);
                break;
            }
            if (got == 0) {
                result.bytes = std::move(bytes);
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
            if (bytes.size() > static_cast<std::size_t>(maxFileBytes)) {
                result.unusable = "it grew beyond any settings file while being read";
                break;
            }
        }
    }
    ::close(fd);
    return result;
}

// "20240315-142501" in UTC, for the names of kept-aside files.
std::string timestampForFileName() {
    const DateComponents c = Calendar::utcComponents(Clock::now());
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", c.year, c.month, c.day, c.hour, c.minute,
                  c.second);
    return text;
}

// Moves the file `name` in the directory `dirFd` to a new name beside it, never replacing another
// file; answers the new name.
std::optional<std::string> moveAside(int dirFd, const std::string& name) {
    const std::string base = name + ".corrupt-" + timestampForFileName();
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::string target = attempt == 1 ? base : base + "-" + format::integer(attempt);
        // A rename moves a file of another user too, which a hard link may not (protected_hardlinks);
        // link + unlink is for file systems without RENAME_NOREPLACE.
        if (::renameat2(dirFd, name.c_str(), dirFd, target.c_str(), RENAME_NOREPLACE) == 0) return target;
        if (errno == EINVAL || errno == ENOSYS) {
            if (::linkat(dirFd, name.c_str(), dirFd, target.c_str(), 0) == 0) {
                ::unlinkat(dirFd, name.c_str(), 0);
                return target;
            }
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

// Six letters or digits for the name of a temporary file.
std::string randomSuffix() {
    constexpr std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(6, ' ');
    for (char& c : suffix) c = letters[::arc4random_uniform(static_cast<std::uint32_t>(letters.size()))];
    return suffix;
}

bool sameNode(const nlohmann::json& a, const nlohmann::json& b) {
    return a.type() == b.type() && a == b;
}

// The document inside a stored {"json": document} entry, or nullptr.
const nlohmann::json* wrappedDocument(const nlohmann::json& node) {
    if (!node.is_object() || node.size() != 1) return nullptr;
    const auto it = node.find(documentKey);
    return it == node.end() ? nullptr : &*it;
}

std::string dump(const nlohmann::json& value) {
    // Replace invalid UTF-8 rather than throw: a stray byte in a name must not lose the file.
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

FileUserDefaults::FileUserDefaults(std::string path, RunLoop* runLoop, KeySet sampleKeys)
    : path_(std::move(path)), runLoop_(runLoop), sampleKeys_(std::move(sampleKeys)) {
    writer_->path = path_;
    writer_->directory = parentDirectory(path_);
    writer_->fileName = path_.substr(path_.find_last_of('/') + 1);
    load();
}

FileUserDefaults::~FileUserDefaults() {
    flush();  // waits for a background write still running
}

std::optional<std::string> FileUserDefaults::defaultPath() {
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') return std::nullopt;
        base = std::string(home) + "/.config";
    }
    return base + "/solvara/user-defaults.json";
}

bool FileUserDefaults::directoryIsOurs() {
    const std::string& dir = writer_->directory;
    // Made now rather than at the first write: in a config home others may write to (a shared
    // 1777 one), a directory of theirs could otherwise appear at the path in between.
    makeDirectories(dir);
    // What is no directory at all (a plain file in the way) only fails the writes, as when the
    // directory cannot be made: the user may clear the way while the program runs.
    struct stat info {};
    if (::lstat(dir.c_str(), &info) != 0 || !(S_ISDIR(info.st_mode) || S_ISLNK(info.st_mode))) return true;
    // The config home itself is not checked. Someone who may write to it can only put there a
    // directory or link of theirs (refused), or move in another directory of the user's, whose
    // files are the user's own; what is read is a file of ours in the directory opened here.
    const OpenedPrivateDirectory opened = openPrivateDirectoryFollowingOwnLink(dir, S_IWGRP | S_IWOTH);
    if (!opened.problem) {
        writer_->directoryFd = opened.fd;
        return true;
    }
    refusedDirectory_ = dir + ": " + *opened.problem;
    Log::write(component, "Not using the settings directory " + *refusedDirectory_ +
                              "; running from defaults without reading or saving the settings there");
    return false;
}

void FileUserDefaults::load() {
    // Another user's directory, or one others may write to, holds what they put there.
    if (path_.empty() || !directoryIsOurs()) {
        writable_ = false;
        return;
    }
    FileRead file = readRegularFile(writer_->directoryFd, writer_->fileName);
    if (file.absent) return;
    std::string why = file.unusable;
    if (file.bytes) {
        // The depth limit keeps a hostile nesting out of the tree, which recurses in copies,
        // comparisons and dumps.
        auto parsed = json::parse(*file.bytes);
        if (parsed && parsed->is_object()) {
            entries_ = std::move(*parsed);
            lastWritten_ = std::move(*file.bytes);
            return;
        }
        why = parsed ? "not a settings object" : "not JSON, or nested too deep";
    }
    // Unreadable or not a settings document: keep it for the user, start from defaults.
    if (const auto aside = moveAside(writer_->directoryFd, writer_->fileName)) {
        keptAside_ = writer_->directory + "/" + *aside;
        Log::write(component, "Settings file " + path_ + " could not be read (" + why + "); kept it as " + *keptAside_ +
                                  " and started from defaults");
    } else {
        writable_ = false;
        Log::write(component, "Settings file " + path_ + " could not be read (" + why +
                                  ") nor moved aside; running from defaults without saving, so that it is not "
                                  "overwritten");
    }
}

const nlohmann::json* FileUserDefaults::find(std::string_view key) const {
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &*it;
}

bool FileUserDefaults::contains(std::string_view key) const {
    return find(key) != nullptr || documents_.contains(key);
}

std::optional<bool> FileUserDefaults::boolValue(std::string_view key) const {
    const auto* node = find(key);
    if (node == nullptr || !node->is_boolean()) return std::nullopt;
    return node->get<bool>();
}

std::optional<std::int64_t> FileUserDefaults::integerValue(std::string_view key) const {
    const auto* node = find(key);
    if (node == nullptr) return std::nullopt;
    if (node->is_number_unsigned()) {
        const auto value = node->get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
        return static_cast<std::int64_t>(value);
    }
    if (node->is_number_integer()) return node->get<std::int64_t>();
    return std::nullopt;
}

std::optional<double> FileUserDefaults::realValue(std::string_view key) const {
    const auto* node = find(key);
    if (node == nullptr || !node->is_number()) return std::nullopt;
    const double value = node->get<double>();
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::string> FileUserDefaults::stringValue(std::string_view key) const {
    const auto* node = find(key);
    if (node == nullptr || !node->is_string()) return std::nullopt;
    return node->get<std::string>();
}

std::optional<nlohmann::json> FileUserDefaults::jsonValue(std::string_view key) const {
    if (const auto text = documents_.find(key); text != documents_.end()) return json::parse(text->second);
    const auto* node = find(key);
    const auto* document = node != nullptr ? wrappedDocument(*node) : nullptr;
    if (document == nullptr) return std::nullopt;
    return *document;
}

bool FileUserDefaults::set(std::string_view key, Value value) {
    if (const auto* text = std::get_if<JsonText>(&value)) return setDocumentText(key, text->text);
    nlohmann::json node;
    bool finite = true;
    std::visit(
        [&](auto&& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, double>) {
                finite = std::isfinite(v);
                node = v;
            } else if constexpr (std::is_same_v<T, nlohmann::json>) {
                finite = json::isEncodable(v);
                node = nlohmann::json::object({{documentKey, std::move(v)}});
            } else if constexpr (!std::is_same_v<T, JsonText>) {
                node = std::move(v);
            }
        },
        std::move(value));
    if (!finite) {
        Log::write(component, "Refused a value that is not a finite number for " + std::string(key));
        return false;
    }
    if (const auto text = documents_.find(key); text != documents_.end()) {
        documents_.erase(text);
        entries_.emplace(std::string(key), std::move(node));
        markChanged(key);
        return true;
    }
    const auto it = entries_.find(key);
    if (it != entries_.end()) {
        if (sameNode(*it, node)) return true;
        *it = std::move(node);
    } else {
        entries_.emplace(std::string(key), std::move(node));
    }
    markChanged(key);
    return true;
}

bool FileUserDefaults::setDocumentText(std::string_view key, std::string_view text) {
    if (const auto it = documents_.find(key); it != documents_.end()) {
        if (it->second == text) return true;
        it->second.assign(text);  // into the text held: a day's samples are a megabyte
        markChanged(key);
        return true;
    }
    bool same = false;
    if (const auto it = entries_.find(key); it != entries_.end()) {
        // Read from the file at start: the first store of the same document is no change. Only
        // this first time is it parsed; from then on the texts are compared.
        const auto* document = wrappedDocument(*it);
        same = document != nullptr && json::parse(text) == *document;
        entries_.erase(it);
    }
    documents_.emplace(std::string(key), std::string(text));
    if (!same) markChanged(key);
    return true;
}

void FileUserDefaults::remove(std::string_view key) {
    if (const auto text = documents_.find(key); text != documents_.end()) {
        documents_.erase(text);
        markChanged(key);
        return;
    }
    const auto it = entries_.find(key);
    if (it == entries_.end()) return;
    entries_.erase(it);
    markChanged(key);
}

void FileUserDefaults::markChanged(std::string_view key) {
    dirty_ = true;
    if (runLoop_ == nullptr) return;
    const bool sample = sampleKeys_.contains(key);
    double delay = sample ? autoFlushDelaySeconds : userChangeDelaySeconds;
    if (sample && lastWrite_) {
        // At most the interval, so that a clock set back cannot hold the write off for longer.
        const double untilIntervalEnds = minimumWriteIntervalSeconds - (runLoop_->now() - *lastWrite_);
        if (untilIntervalEnds > delay) delay = std::min(untilIntervalEnds, minimumWriteIntervalSeconds);
    }
    if (pendingFlush_ != 0 && runLoop_->isScheduled(pendingFlush_)) {
        // A write already due as soon takes this change along.
        if (pendingDue_ <= runLoop_->now() + delay) return;
        runLoop_->cancel(pendingFlush_);
    }
    pendingDue_ = runLoop_->now() + delay;
    pendingFlush_ = runLoop_->scheduleOnce(delay, [this] {
        pendingFlush_ = 0;
        writeInBackground();
    });
}

int FileUserDefaults::writeCount() const {
    std::lock_guard lock(writer_->mutex);
    return writer_->writeCount;
}

std::optional<std::string> FileUserDefaults::encodeFile() const {
    if (!json::isEncodable(entries_)) return std::nullopt;
    std::size_t size = 4;
    for (const auto& [key, text] : documents_) size += key.size() + text.size() + 20;
    std::string out;
    out.reserve(size + 64 * entries_.size());
    out += '{';
    auto tree = entries_.begin();
    auto text = documents_.begin();
    bool first = true;
    // Both hold their keys in order, and no key is in both.
    while (tree != entries_.end() || text != documents_.end()) {
        const bool takeTree = text == documents_.end() || (tree != entries_.end() && tree.key() < text->first);
        const std::string& key = takeTree ? tree.key() : text->first;
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += dump(nlohmann::json(key));
        out += ": ";
        if (takeTree) {
            out += dump(tree.value());
            ++tree;
        } else {
            out += R"({"json":)";
            out += text->second;
            out += '}';
            ++text;
        }
    }
    out += first ? "}\n" : "\n}\n";
    return out;
}

std::optional<std::string> FileUserDefaults::takeChangedBytes() {
    if (!dirty_ || !writable_) return std::nullopt;
    auto bytes = encodeFile();
    if (!bytes) {
        Log::write(component, "Settings could not be encoded");
        return std::nullopt;
    }
    dirty_ = false;
    if (*bytes == lastWritten_) return std::nullopt;  // changed and changed back
    lastWritten_ = *bytes;
    return bytes;
}

void FileUserDefaults::dropUnreadableDocuments() {
    for (auto it = documents_.begin(); it != documents_.end();) {
        if (json::accept(it->second)) {
            ++it;
            continue;
        }
        Log::write(component, "Dropped the document of " + it->first + ": it is not valid JSON");
        it = documents_.erase(it);
        dirty_ = true;
    }
}

void FileUserDefaults::writeInBackground() {
    auto bytes = takeChangedBytes();
    if (!bytes) return;
    lastWrite_ = runLoop_->now();
    const std::uint64_t generation = ++generation_;
    RunLoop::MainPoster post = runLoop_->mainPoster();
    runLoop_->runInBackground(
        [this, post, writer = writer_, alive = std::weak_ptr<int>(alive_), bytes = std::move(*bytes), generation] {
            // The documents given as text were never parsed: make sure the file reads back
            // before it replaces one that does (off the main thread, a megabyte takes a while).
            const bool readable = json::accept(bytes);
            if (readable && writeGeneration(*writer, bytes, generation)) return;
            // The file was left as it was: the next change or flush writes everything again.
            post([this, alive, writer, generation, readable] {
                if (alive.expired()) return;
                {
                    std::lock_guard lock(writer->mutex);
                    if (writer->writtenGeneration >= generation) return;
                }
                dirty_ = true;
                lastWritten_.clear();
                if (!readable) {
                    dropUnreadableDocuments();
                    markChanged({});
                }
            });
        });
}

bool FileUserDefaults::flush() {
    if (pendingFlush_ != 0 && runLoop_ != nullptr) {
        runLoop_->cancel(pendingFlush_);
        pendingFlush_ = 0;
    }
    {
        // Waits for a background write still running; when the last one handed out has not
        // reached the disk (failed, or not started yet), everything is written again here.
        std::lock_guard lock(writer_->mutex);
        if (writer_->writtenGeneration < generation_) {
            dirty_ = true;
            lastWritten_.clear();
        }
    }
    if (!dirty_) return true;
    if (!writable_) return false;
    const std::string previous = lastWritten_;
    auto bytes = takeChangedBytes();
    if (bytes && !json::accept(*bytes)) {
        // A document given as text is not valid JSON: write the rest without it.
        dropUnreadableDocuments();
        dirty_ = true;
        lastWritten_ = previous;
        bytes = takeChangedBytes();
        if (bytes && !json::accept(*bytes)) {
            Log::write(component, "Settings could not be encoded");
            dirty_ = true;
            lastWritten_ = previous;
            return false;
        }
    }
    if (!bytes) return !dirty_;
    if (runLoop_ != nullptr) lastWrite_ = runLoop_->now();
    if (!writeGeneration(*writer_, *bytes, ++generation_)) {
        dirty_ = true;
        lastWritten_ = previous;
        return false;
    }
    return true;
}

FileUserDefaults::Writer::~Writer() {
    if (directoryFd >= 0) ::close(directoryFd);
}

void FileUserDefaults::Writer::reportFailure(const std::string& text) {
    if (reportedFailures.insert(text).second) Log::write(component, text);
}

bool FileUserDefaults::writeGeneration(Writer& writer, const std::string& bytes, std::uint64_t generation) {
    std::lock_guard lock(writer.mutex);
    if (writer.writtenGeneration >= generation) return true;  // a newer state is on disk already
    if (!writeFile(writer, bytes)) return false;
    writer.reportedFailures.clear();
    writer.writtenGeneration = generation;
    ++writer.writeCount;
    return true;
}

bool FileUserDefaults::openDirectoryForWriting(Writer& writer) {
    if (writer.directoryFd >= 0) {
        // Moved away (mv ~/.config/solvara ...), removed, or a link of the user's pointed
        // elsewhere: writes into the directory opened before would be lost to the next start.
        // What the path leads to now is checked and opened as at start.
        struct stat atPath {};
        struct stat opened {};
        if (::stat(writer.directory.c_str(), &atPath) == 0 && ::fstat(writer.directoryFd, &opened) == 0 &&
            atPath.st_dev == opened.st_dev && atPath.st_ino == opened.st_ino) {
            return true;
        }
        ::close(writer.directoryFd);
        writer.directoryFd = -1;
    }
    // There was none at start, or a plain file was in the way: the user may have cleared it.
    if (const auto why = makeDirectories(writer.directory)) {
        writer.reportFailure("Not saving the settings: " + *why);
        return false;
    }
    const OpenedPrivateDirectory opened = openPrivateDirectoryFollowingOwnLink(writer.directory, S_IWGRP | S_IWOTH);
    if (opened.problem) {
        writer.reportFailure("Not saving the settings in " + writer.directory + ": " + *opened.problem);
        return false;
    }
    writer.directoryFd = opened.fd;
    return true;
}

bool FileUserDefaults::writeFile(Writer& writer, const std::string& bytes) {
    // Everything through the descriptor of the directory checked: what the path is changed to
    // meanwhile is never written to.
    std::string temp;
    int fd = -1;
    int error = 0;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        if (!openDirectoryForWriting(writer)) return false;
        temp = writer.fileName + "." + randomSuffix();
        fd = ::openat(writer.directoryFd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        error = errno;
        if (fd >= 0 || error == EEXIST) continue;
        if (error != ENOENT || attempt > 0) break;
        // Removed since it was looked at: made and checked anew, as at start.
        ::close(writer.directoryFd);
        writer.directoryFd = -1;
    }
    if (fd < 0) {
        writer.reportFailure("Cannot create a temporary file beside " + writer.path + ": " + errnoText(error));
        return false;
    }
    const int dirFd = writer.directoryFd;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeError = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::renameat(dirFd, temp.c_str(), dirFd, writer.fileName.c_str()) != 0) {
        const int error = errno;
        writer.reportFailure("Cannot replace " + writer.path + ": " + errnoText(error));
        ::unlinkat(dirFd, temp.c_str(), 0);
        return false;
    }
    if (!ok) {
        // The temporary file's own name left out: the same failure reads the same each time.
        writer.reportFailure("Cannot write a temporary file beside " + writer.path + ": " + errnoText(writeError));
        ::unlinkat(dirFd, temp.c_str(), 0);
        return false;
    }
    // Make the rename itself durable.
    ::fsync(dirFd);
    return true;
}

}  // namespace solvara
