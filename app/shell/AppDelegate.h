#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/services/KeyboardShortcutManager.h"
#include "app/services/SoundscapeManager.h"
#include "app/shell/BreakSoundPlayer.h"
#include "app/shell/BreakWindow.h"
#include "app/shell/BreakWindowFactory.h"
#include "app/shell/FlowDetector.h"
#include "app/shell/InactivityDetector.h"
#include "app/shell/SmartPauseDetector.h"
#include "app/state/AppState.h"
#include "core/solar/Coordinate.h"
#include "platform/LocationProvider.h"
#include "platform/Platform.h"
#include "platform/Timer.h"
#include "platform/Workspace.h"

namespace solvara {

// Where the program's own logic begins: owns the one AppState and everything that drives it
// (the update, break and sleep-alarm timers, the desktop observers, the detectors, the sound
// players, the break windows), starts them in a fixed order and undoes the program's changes to
// the displays in a fixed order when it quits. Main thread only.
//
// The program's start calls applicationDidFinishLaunching() once, when the event loop is about
// to run, and applicationWillTerminate() once at quit (a second call does nothing). Every
// timer, observer and delayed call it installs does nothing once the delegate is gone.
class AppDelegate {
public:
    // The in-process request that brings the main window forward (the popover's "open" button).
    static constexpr std::string_view showMainWindowNotification = "com.solvara.showMainWindow";

    static constexpr double updateInterval = 10.0;
    static constexpr double breakInterval = 1.0;
    static constexpr double sleepAlarmInterval = 1800.0;
    static constexpr double sleepAlarmFirstDelay = 5.0;
    static constexpr double launchChecksDelay = 10.0;
    static constexpr double wakeReapplyDelay = 1.0;
    static constexpr double ambientPollInterval = 30.0;
    static constexpr std::int64_t flowDeferralMinutes = 5;
    static constexpr double locationAccuracyMetres = 1000.0;  // kilometre accuracy

    // The main window belongs to the view layer, which fills these in before start-up. Until it
    // does, the start-up's main-window step and the requests to show it are only logged.
    struct MainWindowHooks {
        // Creates the main window, shows it with the keyboard focus and keeps it.
        std::function<void()> create;
        // Brings the kept main window to the front with the keyboard focus; false when none
        // exists yet.
        std::function<bool()> bringToFront;
        // Raises the program above the other applications.
        std::function<void()> activateApplication;
    };

    // Builds, in this order, the state object (which restores the stored settings before any
    // other object exists), the detectors, the break-sound player and the soundscape manager.
    // Starts nothing.
    AppDelegate(const Platform& platform, BreakWindowFactory& breakWindowFactory);
    ~AppDelegate();

    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // --- Life cycle -----------------------------------------------------------------------
    void applicationDidFinishLaunching();
    // The user started the program again while it runs: the main window comes forward.
    bool applicationShouldHandleReopen();
    void applicationWillTerminate();
    // Posts the show-main-window request; heard once the start-up has finished.
    void postShowMainWindow();
    void createMainWindow();

    MainWindowHooks mainWindowHooks;

    // --- Break windows --------------------------------------------------------------------
    void showBreakOverlayWindow();
    void updateBreakOverlayWindow();
    void dismissBreakOverlayWindow();
    // The Skip button of every break window.
    void skipBreak();
    std::size_t breakOverlayWindowCount() const { return breakOverlayWindows_.size(); }

    // --- Notifications --------------------------------------------------------------------
    void postLocalNotification(const std::string& title, const std::string& body, const std::string& identifier);
    void sendSleepAlarmNotification();
    void checkMorningRecovery();
    void checkSeasonalAwareness();
    const std::string& seasonalCheckDate() const { return seasonalCheckDate_; }

    // Latitude 40 and 15 degrees of longitude per hour of the time zone's offset at `date`.
    static Coordinate timeZoneEstimate(Date date);

    AppState& appState() { return appState_; }
    InactivityDetector& inactivityDetector() { return inactivityDetector_; }
    FlowDetector& flowDetector() { return flowDetector_; }
    BreakSoundPlayer& breakSoundPlayer() { return breakSoundPlayer_; }
    // The soundscape manager: the delegate's until the start-up hands it to the state.
    const SoundscapeManager* soundscapeManager() const {
        return ownedSoundscapeManager_ ? ownedSoundscapeManager_.get() : appState_.soundscapeManager();
    }
    bool isTerminated() const { return terminated_; }

private:
    struct BreakWindowEntry {
        ScreenInfo screen;
        std::unique_ptr<BreakWindow> window;
    };

    // Start-up steps.
    void requestLocation();
    void observeDesktop();
    void setupSleepAlarm();
    void setupKeyboardShortcuts();
    void setupInactivityDetector();
    void setupFlowDetector();
    void setupAmbientLight();
    void setupBreakTimer();
    void followBreaksEnabled();

    // Timers and observers.
    void updateTick();
    void playPhaseChangeSound(const std::string& previous);
    void refreshFullScreenState();
    void frontmostApplicationChanged(const std::optional<RunningApplication>& application);
    void breakTick();
    void sleepAlarmTest();
    void handleShortcut(KeyboardShortcutManager::Action action);
    void showMainWindowRequested();

    // Location.
    void didUpdateLocations(const std::vector<GeoCoordinate>& locations);
    void didChangeAuthorization(LocationAuthorization status);
    void didFailWithError(const std::string& description);
    void fallBackToTimeZoneEstimate();
    // The location service repeats a refusal or an error as often as it is asked: each is said
    // once, until a position or a grant comes between.
    void reportLocationProblem(const std::string& line);

    BreakWindowContent breakWindowContent() const;
    void addBreakWindow(const ScreenInfo& screen);
    // Gives a screen attached during a break its window and drops the windows of screens gone.
    void followScreensDuringBreak();

    // Runs `action` after `delay` seconds unless the delegate is gone by then.
    void after(double delay, std::function<void()> action);
    // `action` guarded the same way, for timers and observers.
    std::function<void()> guarded(std::function<void()> action);

    Platform platform_;
    BreakWindowFactory& breakWindowFactory_;
    // Callbacks hold a weak handle and do nothing once the delegate is gone.
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);

    // In the order the start-up of the program needs them built.
    AppState appState_;
    LocationProvider& locationManager_;
    Timer updateTimer_;
    Timer breakTimer_;  // runs only while breaks are on
    AppState::ObserverId breaksObserver_ = 0;
    InactivityDetector inactivityDetector_;
    FlowDetector flowDetector_;
    BreakSoundPlayer breakSoundPlayer_;
    std::unique_ptr<SoundscapeManager> ownedSoundscapeManager_;  // until handed to the state
    SmartPauseDetector smartPauseDetector_;
    std::vector<BreakWindowEntry> breakOverlayWindows_;
    std::optional<WorkspaceObserverId> screenChangeObserver_;
    std::optional<WorkspaceObserverId> wakeObserver_;
    std::optional<WorkspaceObserverId> frontmostAppObserver_;
    Timer sleepAlarmTimer_;
    std::string seasonalCheckDate_;
    std::string lastLocationProblem_;

    bool observingShowMainWindow_ = false;
    bool launched_ = false;
    bool terminated_ = false;
};

}  // namespace solvara
