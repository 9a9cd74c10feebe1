#pragma once

#include <optional>
#include <string>

namespace solvara {

// Whether the desktop starts the program when the user logs in (Linux: an XDG autostart
// entry). Main thread only.
class LoginItem {
public:
    virtual ~LoginItem() = default;

    // The registration as it is now on disk (not a remembered value): true when the desktop will
    // start the program at the next login.
    virtual bool isRegistered() const = 0;

    // Registers (true) or removes (false) the program. Empty on success, else why it failed, for
    // people; a failure leaves the registration as it was. Removing an absent registration and
    // registering twice succeed.
    virtual std::optional<std::string> setRegistered(bool registered) = 0;
};

}  // namespace solvara
