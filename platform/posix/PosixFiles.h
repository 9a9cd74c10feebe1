#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/Files.h"

namespace solvara {

// Files on a POSIX system. The private directories come from the XDG variables read at the
// first call ($XDG_RUNTIME_DIR, $XDG_STATE_HOME or ~/.local/state) and are checked once: a real
// directory (not a symlink), owned by this user, closed to others (a group with no one else in
// it counts as closed: WriteAccess.h). Resources are looked up next to the running executable,
// then in ../libexec/solvara.
class PosixFiles : public Files {
public:
    static constexpr const char* appDirectoryName = "solvara";

    std::optional<std::string> runtimeDirectory() override;
    std::optional<std::string> stateDirectory() override;
    bool writeAtomically(const std::string& path, std::string_view bytes) override;
    std::optional<std::string> read(const std::string& path, std::size_t maxBytes) override;
    bool exists(const std::string& path) const override;
    bool remove(const std::string& path) override;
    std::optional<std::string> resourcePath(std::string_view name) override;

private:
    struct Cached {
        bool resolved = false;
        std::optional<std::string> path;
    };

    // Says why `path` was not read, once until the reason changes: a file polled every quarter
    // second must not fill the journal. None (read, or absent) forgets the path.
    void noteReadProblem(const std::string& path, std::optional<std::string> why);

    Cached runtime_;
    Cached state_;
    std::mutex readProblemsMutex_;
    std::map<std::string, std::string> readProblems_;
};

}  // namespace solvara
