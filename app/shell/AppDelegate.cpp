// The delegate's life: construction, the start-up order, the main window and the shutdown
// order.

#include "app/shell/AppDelegate.h"

#include "core/foundation/Log.h"

namespace solvara {

AppDelegate::AppDelegate(const Platform& platform, BreakWindowFactory& breakWindowFactory)
    : platform_(platform),
      breakWindowFactory_(breakWindowFactory),
      appState_(platform),
      locationManager_(platform.location),
      inactivityDetector_(platform.workspace, platform.runLoop),
      flowDetector_(platform.workspace, platform.runLoop),
      breakSoundPlayer_(platform.audio),
      ownedSoundscapeManager_(std::make_unique<SoundscapeManager>(platform.runLoop, platform.audio)),
      smartPauseDetector_(platform.workspace) {}

AppDelegate::~AppDelegate() {
    lifetime_.reset();
    // The shortcut manager lives in the state, which outlives the members declared after it.
    if (auto* shortcuts = appState_.shortcutManager()) shortcuts->setOnAction(nullptr);
    inactivityDetector_.onInactive = nullptr;
    inactivityDetector_.onResume = nullptr;
    flowDetector_.onFlowStateChanged = nullptr;
    appState_.ambientLightSensor().setOnLuxUpdate(nullptr);
    locationManager_.setCallbacks({});
    for (auto id : {screenChangeObserver_, wakeObserver_, frontmostAppObserver_}) {
        if (id) platform_.workspace.removeObserver(*id);
    }
}

void AppDelegate::after(double delay, std::function<void()> action) {
    platform_.runLoop.scheduleOnce(delay, guarded(std::move(action)));
}

std::function<void()> AppDelegate::guarded(std::function<void()> action) {
    return [alive = std::weak_ptr<int>(lifetime_), action = std::move(action)] {
        if (!alive.expired()) action();
    };
}

void AppDelegate::applicationDidFinishLaunching() {
    if (launched_) return;
    launched_ = true;

    // The state owns the soundscape manager before anything can ask it for a sound.
    appState_.setSoundscapeManager(std::move(ownedSoundscapeManager_));
    // Before anything can change a display, so that the filter restored at quit is the user's
    // own.
    appState_.displayManager().accessibilityFilter().saveState();
    // Asked first among the services: a position takes the longest to come, and its setter
    // applies it the moment it does.
    requestLocation();
    updateTimer_ = Timer::repeating(platform_.runLoop, updateInterval, guarded([this] { updateTick(); }));
    observeDesktop();
    setupSleepAlarm();
    setupKeyboardShortcuts();
    setupInactivityDetector();
    setupFlowDetector();
    setupAmbientLight();
    // Before the first update, so that a clock change since the last run is smoothed from the
    // start.
    appState_.dstSmoother().checkForDSTChange();
    setupBreakTimer();
    // With every observer in place, one update at once (nothing until a coordinate is known)
    // rather than waiting ten seconds for the first tick.
    appState_.updateCircadianState();
    after(launchChecksDelay, [this] {
        checkMorningRecovery();
        checkSeasonalAwareness();
    });
    // The screens as they are now: the per-display settings and any dimmer follow them.
    appState_.handleScreenChange();
    createMainWindow();
    // Last: a request to show the main window only makes sense once it exists.
    observingShowMainWindow_ = true;
}

void AppDelegate::requestLocation() {
    LocationCallbacks callbacks;
    callbacks.didUpdateLocations = [this,
                                    alive = std::weak_ptr<int>(lifetime_)](const std::vector<GeoCoordinate>& list) {
        if (!alive.expired()) didUpdateLocations(list);
    };
    callbacks.didChangeAuthorization = [this, alive = std::weak_ptr<int>(lifetime_)](LocationAuthorization status) {
        if (!alive.expired()) didChangeAuthorization(status);
    };
    callbacks.didFailWithError = [this, alive = std::weak_ptr<int>(lifetime_)](const std::string& description) {
        if (!alive.expired()) didFailWithError(description);
    };
    locationManager_.setCallbacks(std::move(callbacks));
    locationManager_.setDesiredAccuracy(locationAccuracyMetres);
    locationManager_.requestWhenInUseAuthorization();
    locationManager_.startUpdatingLocation();
}

void AppDelegate::observeDesktop() {
    screenChangeObserver_ =
        platform_.workspace.observeScreenChanges(guarded([this] { appState_.handleScreenChange(); }));
    wakeObserver_ = platform_.workspace.observeWake(guarded([this] {
        // The displays come back with their own tables a moment after the wake notice.
        after(wakeReapplyDelay, [this] { appState_.applyCurrentState(); });
    }));
    frontmostAppObserver_ = platform_.workspace.observeFrontmostApplication(
        [this, alive = std::weak_ptr<int>(lifetime_)](const std::optional<RunningApplication>& application) {
            if (!alive.expired()) frontmostApplicationChanged(application);
        });
}

// --- Main window -----------------------------------------------------------------------

void AppDelegate::createMainWindow() {
    if (!mainWindowHooks.create) {
        Log::write("AppDelegate", "No main window to create yet");
        return;
    }
    mainWindowHooks.create();
}

void AppDelegate::postShowMainWindow() {
    // As with any notification, a request posted before anyone listens is lost.
    if (observingShowMainWindow_) showMainWindowRequested();
}

void AppDelegate::showMainWindowRequested() {
    if (!mainWindowHooks.create && !mainWindowHooks.bringToFront) {
        Log::write("AppDelegate", "Main window requested; no main window yet");
        return;
    }
    if (mainWindowHooks.activateApplication) mainWindowHooks.activateApplication();
    if (!mainWindowHooks.bringToFront || !mainWindowHooks.bringToFront()) createMainWindow();
}

bool AppDelegate::applicationShouldHandleReopen() {
    // The Dock setting has no counterpart here: the program never leaves the task list of its
    // own accord, so there is no activation policy to put back.
    showMainWindowRequested();
    return true;
}

// --- Shutdown --------------------------------------------------------------------------

void AppDelegate::applicationWillTerminate() {
    if (terminated_) return;
    terminated_ = true;

    // No desktop notice may start work while the rest stops.
    for (auto* id : {&screenChangeObserver_, &wakeObserver_, &frontmostAppObserver_}) {
        if (*id) platform_.workspace.removeObserver(**id);
        id->reset();
    }
    // Saved before anything below can change a setting on its way out.
    appState_.persistSettings();
    updateTimer_.invalidate();
    breakTimer_.invalidate();
    if (breaksObserver_ != 0) appState_.removeObserver(breaksObserver_);
    breaksObserver_ = 0;
    sleepAlarmTimer_.invalidate();
    appState_.movieModeRevertTimer().invalidate();
    if (auto* shortcuts = appState_.shortcutManager()) shortcuts->stop();
    inactivityDetector_.stop();
    flowDetector_.stop();
    appState_.stopSoundscape();
    appState_.ambientLightSensor().stopPolling();
    // With nothing left to re-apply them, every display back as the user had it, in this
    // order; each step is harmless when its back end was never used.
    appState_.vignetteDimmer().deactivate();
    appState_.displayManager().restoreDisplays();
    appState_.softwareDimmer().deactivate();
}

}  // namespace solvara
