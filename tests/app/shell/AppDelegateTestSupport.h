#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/shell/AppDelegate.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Format.h"
#include "platform/fake/FakePlatform.h"

namespace solvara::testing {

inline Date at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return *Calendar::date(year, month, day, hour, minute, second);
}

// The fake run loop, with every timer and delayed call it is asked for written into the shared
// event record as "repeating 10" or "once 5" (so the order of start-up steps shows up beside the
// other fakes' records).
class RecordingRunLoop : public RunLoop {
public:
    RecordingRunLoop(FakeRunLoop& loop, FakeEventLog& events) : loop_(loop), events_(events) {}

    Date now() const override { return loop_.now(); }
    TimerId scheduleRepeating(double interval, std::function<void()> action) override {
        record("repeating " + format::fixed(interval, 0));
        return loop_.scheduleRepeating(interval, std::move(action));
    }
    TimerId scheduleOnce(double delay, std::function<void()> action) override {
        record("once " + format::fixed(delay, 0));
        return loop_.scheduleOnce(delay, std::move(action));
    }
    void cancel(TimerId id) override { loop_.cancel(id); }
    bool isScheduled(TimerId id) const override { return loop_.isScheduled(id); }
    void postToMain(std::function<void()> action) override { loop_.postToMain(std::move(action)); }
    void runInBackground(std::function<void()> work) override { loop_.runInBackground(std::move(work)); }

    bool recording = true;
    // Called with each record as it is made.
    std::function<void(const std::string&)> onRecord;

private:
    void record(const std::string& event) {
        if (!recording) return;
        events_.add(event);
        if (onRecord) onRecord(event);
    }

    FakeRunLoop& loop_;
    FakeEventLog& events_;
};

// A colour-filter preference store that is present, recording when the filter is read (saved).
class RecordingColorFilter : public FakeColorFilterPreferences {
public:
    explicit RecordingColorFilter(FakeEventLog& events) : events_(events) { loadResult = LoadResult::loaded; }
    bool categoryEnabled(std::int32_t category) override {
        events_.add("colorFilter save");
        return FakeColorFilterPreferences::categoryEnabled(category);
    }

private:
    FakeEventLog& events_;
};

// What became of one break window.
struct BreakWindowRecord {
    ScreenInfo screen;
    std::vector<BreakWindowContent> contents;  // as created, then every update
    std::function<void()> onSkip;
    int keyCount = 0;
    bool orderedOut = false;
    bool destroyed = false;
    bool visible() const { return !orderedOut && !destroyed; }
};

class FakeBreakWindow : public BreakWindow {
public:
    explicit FakeBreakWindow(std::shared_ptr<BreakWindowRecord> record) : record_(std::move(record)) {}
    ~FakeBreakWindow() override { record_->destroyed = true; }
    void setContent(const BreakWindowContent& content) override { record_->contents.push_back(content); }
    void makeKeyAndOrderFront() override { ++record_->keyCount; }
    void orderOut() override { record_->orderedOut = true; }
    Rect frame() const override { return record_->screen.frame; }

private:
    std::shared_ptr<BreakWindowRecord> record_;
};

class FakeBreakWindowFactory : public BreakWindowFactory {
public:
    explicit FakeBreakWindowFactory(FakeEventLog& events) : events_(events) {}
    std::unique_ptr<BreakWindow> createBreakWindow(const ScreenInfo& screen, const BreakWindowContent& content,
                                                   std::function<void()> onSkip) override {
        events_.add("breakWindow+");
        auto record = std::make_shared<BreakWindowRecord>();
        record->screen = screen;
        record->contents.push_back(content);
        record->onSkip = std::move(onSkip);
        windows.push_back(record);
        return std::make_unique<FakeBreakWindow>(record);
    }

    std::vector<std::shared_ptr<BreakWindowRecord>> visible() const {
        std::vector<std::shared_ptr<BreakWindowRecord>> shown;
        for (const auto& w : windows) {
            if (w->visible()) shown.push_back(w);
        }
        return shown;
    }

    std::vector<std::shared_ptr<BreakWindowRecord>> windows;

private:
    FakeEventLog& events_;
};

// One display with its screen and an empty store; the delegate is built on demand so tests can
// script the store and the desktop first. Starts at noon on a January Thursday, UTC.
class AppDelegateTest : public ::testing::Test {
protected:
    explicit AppDelegateTest(Date start = at(2026, 1, 15, 12))
        : fake(start), runLoop(fake.runLoop, fake.events), colorFilter(fake.events), breakWindows(fake.events) {
        fake.displayTransfer.displays = {11};
        fake.screens.screenList = {ScreenInfo{11, "Built-in", {0, 0, 1920, 1080}}};
    }

    Platform platform() {
        Platform p = fake.platform();
        return Platform{.runLoop = runLoop,
                        .displayTransfer = p.displayTransfer,
                        .screens = p.screens,
                        .processes = p.processes,
                        .files = p.files,
                        .nightLight = p.nightLight,
                        .colorFilter = colorFilter,
                        .userDefaults = p.userDefaults,
                        .log = p.log,
                        .workspace = p.workspace,
                        .globalShortcuts = p.globalShortcuts,
                        .location = p.location,
                        .notifications = p.notifications,
                        .audio = p.audio,
                        .ambientLight = p.ambientLight,
                        .loginItem = p.loginItem};
    }

    AppDelegate& delegate() {
        if (!delegate_) delegate_ = std::make_unique<AppDelegate>(platform(), breakWindows);
        return *delegate_;
    }
    AppState& state() { return delegate().appState(); }

    // Builds the delegate and runs the start-up.
    AppDelegate& launch() {
        delegate().applicationDidFinishLaunching();
        return *delegate_;
    }
    // Start-up with a known position (Berlin), as a stored manual city gives.
    AppDelegate& launchAt(double latitude = 52.52, double longitude = 13.405) {
        state().setCoordinate(Coordinate{latitude, longitude});
        return launch();
    }
    void destroyDelegate() { delegate_.reset(); }

    void advance(double seconds) { fake.runLoop.advance(seconds); }
    void moveTo(Date when) { fake.runLoop.advance(when - fake.runLoop.now()); }

    std::vector<std::string> notificationIds() const {
        std::vector<std::string> ids;
        for (const auto& n : fake.notifications.posted) ids.push_back(n.identifier);
        return ids;
    }

    FakePlatform fake;
    RecordingRunLoop runLoop;
    RecordingColorFilter colorFilter;
    FakeBreakWindowFactory breakWindows;

private:
    std::unique_ptr<AppDelegate> delegate_;
};

}  // namespace solvara::testing
