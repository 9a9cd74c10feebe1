#pragma once

#include <functional>
#include <utility>

#include "platform/TrayHosts.h"

namespace solvara {

// Scripted tray hosts: set the answers, then announce() as the desktop would.
class FakeTrayHosts : public TrayHosts {
public:
    bool statusNotifierHost() override { return statusNotifier; }
    bool statusNotifierWatcher() override { return watcher || statusNotifier; }
    bool xembedTray() override { return xembed; }
    void watch(std::function<void()> changed) override { changed_ = std::move(changed); }

    bool watching() const { return static_cast<bool>(changed_); }
    void announce() {
        const std::function<void()> changed = changed_;
        if (changed) changed();
    }

    bool statusNotifier = false;
    // A watcher without a host (a host implies one).
    bool watcher = false;
    bool xembed = false;

private:
    std::function<void()> changed_;
};

}  // namespace solvara
