#include "platform/fake/FakeFiles.h"

namespace solvara {

bool FakeFiles::writeAtomically(const std::string& path, std::string_view bytes) {
    if (failAllWrites || failingPaths.count(path) != 0) {
        if (events_ != nullptr) events_->add("writeFailed " + path);
        return false;
    }
    ++writeCount;
    contents[path] = std::string(bytes);
    if (events_ != nullptr) events_->add("write " + path + " " + std::string(bytes));
    return true;
}

std::optional<std::string> FakeFiles::read(const std::string& path, std::size_t maxBytes) {
    auto it = contents.find(path);
    if (it == contents.end() || it->second.size() > maxBytes) return std::nullopt;
    return it->second;
}

bool FakeFiles::remove(const std::string& path) {
    if (failingPaths.count(path) != 0) return false;
    ++removeCount;
    contents.erase(path);
    if (events_ != nullptr) events_->add("remove " + path);
    return true;
}

std::optional<std::string> FakeFiles::resourcePath(std::string_view name) {
    auto it = resources.find(name);
    if (it == resources.end()) return std::nullopt;
    return it->second;
}

}  // namespace solvara
