#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/Files.h"
#include "platform/fake/FakeEventLog.h"

namespace solvara {

// Files in a map. Directories are only the scripted ones; writes and removals are recorded.
class FakeFiles : public Files {
public:
    explicit FakeFiles(FakeEventLog* events = nullptr) : events_(events) {}

    std::optional<std::string> runtimeDirectory() override { return runtimeDir; }
    std::optional<std::string> stateDirectory() override { return stateDir; }
    bool writeAtomically(const std::string& path, std::string_view bytes) override;
    std::optional<std::string> read(const std::string& path, std::size_t maxBytes) override;
    bool exists(const std::string& path) const override { return contents.count(path) != 0; }
    bool remove(const std::string& path) override;
    std::optional<std::string> resourcePath(std::string_view name) override;

    // Scripted.
    std::optional<std::string> runtimeDir = std::string("/run/user/1000/solvara");
    std::optional<std::string> stateDir = std::string("/home/user/.local/state/solvara");
    std::map<std::string, std::string, std::less<>> resources;  // name -> path
    std::set<std::string> failingPaths;  // writes and removals of these fail
    bool failAllWrites = false;

    // State and record.
    std::map<std::string, std::string> contents;
    std::size_t writeCount = 0;
    std::size_t removeCount = 0;

private:
    FakeEventLog* events_;
};

}  // namespace solvara
