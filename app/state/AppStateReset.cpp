// Putting the user's settings back to their defaults.

#include "app/state/AppState.h"

namespace solvara {

void AppState::resetToDefaults() {
    using namespace setting;
    // Through the setters, in the table's order: every handler runs, also for unchanged values.
    // The displays go back as the user had them (the night light above all) before the output
    // returns to gamma tables, whose handler applies the state again.
// clang-format off
#define SOLVARA_RESET_SETTING(type, name, setter, initial, handler, key, rule, range, flags)                    \
    if constexpr (((flags) & reset) != 0) {                                                                     \
        if constexpr (Property::name == Property::gammaAPI) displayManager_.restoreDisplays(); \
        setter(initial);                                                                                        \
    }
    SOLVARA_APP_STATE_PROPERTIES(SOLVARA_RESET_SETTING)
#undef SOLVARA_RESET_SETTING
    // clang-format on
    persistSettings();
}

}  // namespace solvara
