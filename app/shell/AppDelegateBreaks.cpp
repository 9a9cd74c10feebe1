// The one-second break tick and the break windows, one per screen.

#include <algorithm>
#include <variant>

#include "app/shell/AppDelegate.h"
#include "core/foundation/Clock.h"

namespace solvara {

namespace {

// The same screen: by display id when both know theirs, else by frame.
bool sameScreen(const ScreenInfo& a, const ScreenInfo& b) {
    if (a.displayId && b.displayId) return *a.displayId == *b.displayId;
    return a.frame == b.frame;
}

}  // namespace

void AppDelegate::setupBreakTimer() {
    // With breaks off the tick only clears a text that is already empty: rather than wake the
    // program every second for nothing, the timer follows the setting.
    breaksObserver_ = appState_.addObserver(
        [this, alive = std::weak_ptr<int>(lifetime_)](AppState::Property property, AppState::Notice notice) {
            if (!alive.expired() && property == AppState::Property::breaksEnabled &&
                notice == AppState::Notice::didChange) {
                followBreaksEnabled();
            }
        });
    followBreaksEnabled();
}

void AppDelegate::followBreaksEnabled() {
    if (terminated_) return;
    if (appState_.breaksEnabled()) {
        if (!breakTimer_.isValid()) {
            breakTimer_ = Timer::repeating(platform_.runLoop, breakInterval, guarded([this] { breakTick(); }));
        }
        return;
    }
    breakTimer_.invalidate();
    // What the next tick would have done: the break that ran is over, its windows go.
    if (!breakOverlayWindows_.empty()) dismissBreakOverlayWindow();
}

void AppDelegate::breakTick() {
    BreakScheduler& scheduler = appState_.breakScheduler();
    if (appState_.flowDetectionEnabled() && flowDetector_.isInFlowState) {
        const auto* counting = std::get_if<BreakScheduler::Counting>(&scheduler.state());
        if (counting != nullptr && counting->nextBreakAt - Clock::now() <= 0) {
            scheduler.postpone(flowDeferralMinutes);
            appState_.setBreakCountdownText("Deferred (flow state)");
            return;
        }
    }

    const auto event = appState_.tickBreakTimer();
    if (event == AppState::BreakEvent::breakStarted) {
        breakSoundPlayer_.play(appState_.breakStartSound());
        showBreakOverlayWindow();
    } else if (event == AppState::BreakEvent::breakEnded) {
        breakSoundPlayer_.play(appState_.breakEndSound());
        dismissBreakOverlayWindow();
    } else if (appState_.showBreakOverlay()) {
        updateBreakOverlayWindow();
    } else if (!breakOverlayWindows_.empty()) {
        // The overlay was switched off elsewhere (a postponed break, breaks turned off): the
        // windows must not stay up over a break that no longer runs.
        dismissBreakOverlayWindow();
    }
}

BreakWindowContent AppDelegate::breakWindowContent() const {
    return {appState_.breakScreenType(), appState_.breakRemainingSeconds()};
}

void AppDelegate::addBreakWindow(const ScreenInfo& screen) {
    auto window = breakWindowFactory_.createBreakWindow(screen, breakWindowContent(), guarded([this] { skipBreak(); }));
    if (window) breakOverlayWindows_.push_back({screen, std::move(window)});
}

void AppDelegate::showBreakOverlayWindow() {
    const auto screens = platform_.screens.screens();
    for (const auto& screen : screens) addBreakWindow(screen);
    // The primary screen comes first in the list.
    if (screens.empty()) return;
    const Rect mainFrame = screens.front().frame;
    const auto key = std::find_if(breakOverlayWindows_.begin(), breakOverlayWindows_.end(),
                                  [&](const BreakWindowEntry& entry) { return entry.window->frame() == mainFrame; });
    if (key != breakOverlayWindows_.end()) key->window->makeKeyAndOrderFront();
}

void AppDelegate::updateBreakOverlayWindow() {
    const BreakWindowContent content = breakWindowContent();
    for (auto& entry : breakOverlayWindows_) entry.window->setContent(content);
    // Also while no window is up: a break that began with no screen, or outlived every screen,
    // still reaches the screen attached next.
    followScreensDuringBreak();
}

void AppDelegate::followScreensDuringBreak() {
    const auto screens = platform_.screens.screens();
    std::erase_if(breakOverlayWindows_, [&](BreakWindowEntry& entry) {
        const bool present = std::any_of(screens.begin(), screens.end(),
                                         [&](const ScreenInfo& screen) { return sameScreen(screen, entry.screen); });
        if (!present) entry.window->orderOut();
        return !present;
    });
    for (const auto& screen : screens) {
        const bool covered =
            std::any_of(breakOverlayWindows_.begin(), breakOverlayWindows_.end(),
                        [&](const BreakWindowEntry& entry) { return sameScreen(screen, entry.screen); });
        if (!covered) addBreakWindow(screen);
    }
}

void AppDelegate::dismissBreakOverlayWindow() {
    for (auto& entry : breakOverlayWindows_) entry.window->orderOut();
    breakOverlayWindows_.clear();
}

void AppDelegate::skipBreak() {
    if (appState_.showBreakOverlay()) appState_.setShowBreakOverlay(false);
    appState_.breakScheduler().skipBreak();
    dismissBreakOverlayWindow();
}

}  // namespace solvara
