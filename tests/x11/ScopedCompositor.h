#pragma once

#include <chrono>
#include <functional>

#include <sys/types.h>

namespace solvara::testing {

class SecondClient;

// Runs picom (xrender back end, no configuration file, so no shadows and no fading) for one
// scope and waits until it holds, and after the scope no longer holds, the compositing
// selection.
class ScopedCompositor {
public:
    explicit ScopedCompositor(SecondClient& client);
    ~ScopedCompositor();
    ScopedCompositor(const ScopedCompositor&) = delete;
    ScopedCompositor& operator=(const ScopedCompositor&) = delete;

    bool running() const { return running_; }
    static bool installed();

    // Ends picom now (the destructor then does nothing more).
    void stop();

private:
    SecondClient& client_;
    pid_t pid_ = -1;
    bool running_ = false;
};

// Runs the Qt event loop until `done` holds or the bound passes (generous: a bound against
// hanging, not a timing assertion); answers `done()`.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(30));

}  // namespace solvara::testing
