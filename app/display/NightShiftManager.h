#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace solvara {

// Colours the displays through the desktop's own night light instead of gamma tables. The
// colour is driven by a separate helper executable that follows a control file; in process the
// manager only saves the user's night-light settings at start-up and puts them back at the end.
//
// The saved settings are also kept on disk until a restore has gone through, so a run that
// crashes while the helper drives the night light does not make our leftover the "user's"
// setting on the next start.
class NightShiftManager {
public:
    struct NightShiftState {
        bool wasEnabled = false;
        float strength = 0.0f;
        std::int32_t mode = 0;
        // Every setting the helper may change, as captured by the client: restored exactly.
        // Empty when the client could not capture them (then strength and on/off are restored).
        std::string platformSettings;

        bool operator==(const NightShiftState&) const = default;

        // The on-disk form (JSON). Empty when the strength is not a finite number.
        std::optional<std::string> encode() const;
        // Strict: empty for anything that is not a complete record.
        static std::optional<NightShiftState> decode(std::string_view document);
    };

    // Below this the night light alone cannot reach the target, so the display manager adds a
    // gamma table on top.
    static constexpr std::int64_t supplementaryThreshold = 2700;
    static constexpr std::int64_t neutralKelvin = 6500;
    static constexpr std::string_view helperResourceName = "ns_helper";

    // Checks the night-light client, looks for the helper, then saves the user's state.
    explicit NightShiftManager(const Platform& platform);
    // Stops the helper (see stopHelper()).
    ~NightShiftManager();

    NightShiftManager(const NightShiftManager&) = delete;
    NightShiftManager& operator=(const NightShiftManager&) = delete;

    // Records the user's night-light state (only when available). A state left on disk by a run
    // that never restored is taken instead of the current one, which may be our own leftover.
    void saveState();

    // Writes `kelvin` to the control file and makes sure the helper runs (the file is always
    // written before a helper starts). Answers `kelvin` below 2700 and 6500 otherwise; answers
    // `kelvin` untouched when unavailable. Empty when the night light could not be driven this
    // time (no control file written, or no helper running): the caller falls back to gamma
    // tables. Failures are logged.
    std::optional<std::int64_t> applyColorTemperature(std::int64_t kelvin);

    // Writes "0", terminates the helper and deletes the control file. Does nothing unless this
    // process wrote the control file or runs a helper (another instance's file is left alone).
    void stopHelper();

    // Stops the helper, then puts back the saved state (only when available and saved) and
    // forgets it, so a second call only stops the helper. The copy on disk is removed only when
    // every write went through.
    void restoreState();

    bool isAvailable() const { return isAvailable_; }
    const std::optional<std::string>& helperPath() const { return helperPath_; }
    const std::optional<std::string>& controlFile() const { return controlFile_; }
    const std::optional<NightShiftState>& savedState() const { return savedState_; }
    bool isHelperRunning();

private:
    void locateHelper();
    void startHelper();

    Processes& processes_;
    Files& files_;
    NightLightClient& client_;

    std::optional<NightShiftState> savedState_;
    std::unique_ptr<Process> helperProcess_;
    bool isAvailable_ = false;
    std::optional<std::string> helperPath_;
    std::optional<std::string> controlFile_;
    bool wroteControlFile_ = false;
};

}  // namespace solvara
