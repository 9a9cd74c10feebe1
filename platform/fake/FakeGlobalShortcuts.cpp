#include "platform/fake/FakeGlobalShortcuts.h"

#include <utility>

namespace solvara {
namespace {

constexpr std::uint64_t grabbedModifiers = 0x1E0000;   // shift, control, option, command
constexpr std::uint64_t requiredModifiers = 0x1C0000;  // control, option, command

}  // namespace

bool FakeGlobalShortcuts::start(std::function<void(const KeyStroke&)> handler) {
    if (events_ != nullptr) events_->add("shortcuts start");
    if (!available) return false;
    handler_ = std::move(handler);
    started = true;
    return true;
}

void FakeGlobalShortcuts::stop() {
    if (events_ != nullptr) events_->add("shortcuts stop");
    handler_ = nullptr;
    started = false;
}

void FakeGlobalShortcuts::setGrabbedKeys(const std::vector<KeyStroke>& combinations) {
    ++grabUpdates;
    grabbed.clear();
    // Like the X implementation, never grab a combination without control, option or command.
    for (const KeyStroke& combination : combinations) {
        if ((combination.modifierFlags & requiredModifiers) != 0) grabbed.push_back(combination);
    }
}

bool FakeGlobalShortcuts::press(KeyStroke press) {
    if (!started || !handler_) return false;
    for (const KeyStroke& grab : grabbed) {
        if (grab.keyCode == press.keyCode &&
            (grab.modifierFlags & grabbedModifiers) == (press.modifierFlags & grabbedModifiers)) {
            auto handler = handler_;
            handler(press);
            return true;
        }
    }
    return false;
}

}  // namespace solvara
