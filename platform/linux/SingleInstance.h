#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLocalServer;

namespace solvara {

// One running program per user. The launches elect the instance under an exclusive lock on
// "instance.lock" in the user's private directory (a 0700 directory we checked, see
// PosixFiles), held for the instance's whole life: the kernel drops it when the process ends,
// however it ends, so there is no stale state and no race between launches started in the
// same instant. The elected instance then listens on "instance" in the same directory; a later
// launch finds the lock taken, connects there and asks the instance to show its main window.
// Both ends accept only a peer of our own user id: nobody else can hold a launch back or
// raise our window.
class SingleInstance {
public:
    enum class Role {
        elected,     // this process is the instance
        handedOver,  // another instance of ours runs and was asked to show its main window
        unanswered,  // another instance holds the lock but did not answer (logged)
        unguarded,   // no private directory or lock: this process runs without the guard (logged)
    };

    // Elects this process or hands over to the running instance, within a few seconds at most.
    // `directory` is the private directory (none: unguarded).
    explicit SingleInstance(const std::optional<std::string>& directory);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Role role() const { return role_; }

    // Called on the main thread each time another launch asks for the main window (only while
    // elected).
    void onShowRequest(std::function<void()> handler);

private:
    void listen(const std::string& socketPath);

    Role role_ = Role::unguarded;
    int lockFd_ = -1;
    std::unique_ptr<QLocalServer> server_;
    std::shared_ptr<std::function<void()>> showHandler_ = std::make_shared<std::function<void()>>();
};

}  // namespace solvara
