#pragma once

#include "platform/LoginItem.h"

namespace solvara {

// Starting the program at login. No state of its own: the truth is the desktop's registration.
class LaunchAtLogin {
public:
    // True when the program is registered to start at login, as the desktop has it now.
    static bool isEnabled(const LoginItem& loginItem);

    // Registers (true) or removes (false) the program. A refusal is logged as "Launch at login
    // error: " and its reason, and changes nothing else.
    static void setEnabled(LoginItem& loginItem, bool enabled);
};

}  // namespace solvara
