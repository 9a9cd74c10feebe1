#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace solvara {

// The few files the program keeps outside the user defaults: the night-light control file, the
// saved night-light state, and its own resources. Paths are absolute.
class Files {
public:
    virtual ~Files() = default;

    // This user's private directory for files that live as long as the session
    // ($XDG_RUNTIME_DIR/solvara): created with mode 0700 when missing. Empty (logged) when
    // there is no runtime directory, or the directory is a symlink, is not ours or is open to
    // others: callers then do without the file.
    virtual std::optional<std::string> runtimeDirectory() = 0;

    // This user's private directory for state that must outlive a crash and a logout
    // ($XDG_STATE_HOME/solvara, ~/.local/state/solvara by default), with the same guarantees.
    virtual std::optional<std::string> stateDirectory() = 0;

    // Replaces the whole file at `path` with `bytes`: written to a new temporary file in the
    // same directory (created exclusively, mode 0600, never through a symlink), flushed to disk,
    // then renamed over `path` (a symlink at `path` is replaced, never followed). Readers see
    // the old content or the new one, never a part. False on any failure, with the temporary
    // removed and the old file untouched; the implementation logs the reason.
    virtual bool writeAtomically(const std::string& path, std::string_view bytes) = 0;

    // The content of the regular file at `path`, not following a symlink, at most `maxBytes`
    // (the memory taken follows the file's size, never the limit). Empty when it is absent, not
    // a regular file, not owned by this user, writable by others or longer than `maxBytes`;
    // only an unexpected error is logged (absence is not), and only when the reason for that
    // path changes, since the helper reads its file four times a second.
    virtual std::optional<std::string> read(const std::string& path, std::size_t maxBytes) = 0;

    // True when anything (a file, a directory, a symlink, broken or not) is at `path`.
    virtual bool exists(const std::string& path) const = 0;

    // Deletes the file (a symlink itself, never its target). True when nothing is at `path`
    // afterwards, also when nothing was there.
    virtual bool remove(const std::string& path) = 0;

    // The path of the program's own resource (a file installed with it, such as a helper
    // executable) called `name`; empty when not installed.
    virtual std::optional<std::string> resourcePath(std::string_view name) = 0;
};

}  // namespace solvara
