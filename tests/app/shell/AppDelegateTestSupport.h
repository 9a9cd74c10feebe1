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

// The fake run loop, writing every timer and delayed call into the shared event record as
// "repeating 10" or "once 5", so the start-up's timers show up in order beside the other fakes.
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
    MainPoster mainPoster() override { return loop_.mainPoster(); }
    void runInBackground(std::function<void()> work) override { loop_.runInBackground(std::move(work)); }

    std::function<void(const std::string&)> onRecord;  // called with each record as it is made

private:
    void record(const std::string& event) {
        events_.add(event);
        if (onRecord) onRecord(event);
    }

    FakeRunLoop& loop_;
    FakeEventLog& events_;
};

// A colour filter that is present, recording when it is read (saved).
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
    bool visible = true;  // until ordered out or destroyed
};

class FakeBreakWindowFactory : public BreakWindowFactory {
public:
    class Window : public BreakWindow {
    public:
        explicit Window(std::shared_ptr<BreakWindowRecord> record) : record_(std::move(record)) {}
        ~Window() override { record_->visible = false; }
        void setContent(const BreakWindowContent& content) override { record_->contents.push_back(content); }
        void makeKeyAndOrderFront() override { ++record_->keyCount; }
        void orderOut() override { record_->visible = false; }
        Rect frame() const override { return record_->screen.frame; }

    private:
        std::shared_ptr<BreakWindowRecord> record_;
    };

    std::unique_ptr<BreakWindow> createBreakWindow(const ScreenInfo& screen, const BreakWindowContent& content,
                                                   std::function<void()> onSkip) override {
        windows.push_back(std::make_shared<BreakWindowRecord>(BreakWindowRecord{screen, {content}, std::move(onSkip)}));
        return std::make_unique<Window>(windows.back());
    }

    std::vector<std::shared_ptr<BreakWindowRecord>> visible() const {
        std::vector<std::shared_ptr<BreakWindowRecord>> shown;
        for (const auto& w : windows) {
            if (w->visible) shown.push_back(w);
        }
        return shown;
    }

    std::vector<std::shared_ptr<BreakWindowRecord>> windows;  // every window ever made
};

// One display with its screen and an empty store; the delegate is built on demand so tests can
// script the store and the desktop first. Starts at noon on a January Thursday, UTC.
class AppDelegateTest : public ::testing::Test {
protected:
    explicit AppDelegateTest(Date start = at(2026, 1, 15, 12))
        : fake(start), runLoop(fake.runLoop, fake.events), colorFilter(fake.events) {
        fake.displayTransfer.displays = {11};
        fake.screens.screenList = {ScreenInfo{11, "Built-in", {0, 0, 1920, 1080}}};
    }

    // The fakes' bundle with the recording run loop and colour filter in their places.
    Platform platform() {
        Platform p = fake.platform();
        return {runLoop,         p.displayTransfer, p.screens,      p.processes, p.files,           p.nightLight,
                colorFilter,     p.userDefaults,    p.log,          p.workspace, p.globalShortcuts, p.location,
                p.notifications, p.audio,           p.ambientLight, p.loginItem};
    }

    AppDelegate& delegate() {
        if (!delegate_) delegate_ = std::make_unique<AppDelegate>(platform(), breakWindows);
        return *delegate_;
    }
    AppState& state() { return delegate().appState(); }

    AppDelegate& launch() {
        delegate().applicationDidFinishLaunching();
        return *delegate_;
    }
    // Start-up with a known position (Berlin by default), as a stored manual city gives.
    AppDelegate& launchAt(double latitude = 52.52, double longitude = 13.405) {
        state().setCoordinate(Coordinate{latitude, longitude});
        return launch();
    }
    void destroyDelegate() { delegate_.reset(); }

    void advance(double seconds) { fake.runLoop.advance(seconds); }
    void moveTo(Date when) { fake.runLoop.advance(when - fake.runLoop.now()); }

    FakePlatform fake;
    RecordingRunLoop runLoop;
    RecordingColorFilter colorFilter;
    FakeBreakWindowFactory breakWindows;

private:
    std::unique_ptr<AppDelegate> delegate_;
};

}  // namespace solvara::testing
