#include "app/services/LaunchAtLogin.h"

#include "core/foundation/Log.h"

namespace solvara {

bool LaunchAtLogin::isEnabled(const LoginItem& loginItem) {
    return loginItem.isRegistered();
}

void LaunchAtLogin::setEnabled(LoginItem& loginItem, bool enabled) {
    if (std::optional<std::string> error = loginItem.setRegistered(enabled)) {
        Log::write("LaunchAtLogin", "Launch at login error: " + *error);
    }
}

}  // namespace solvara
