#pragma once

#include "platform/LogRoute.h"
#include "platform/Platform.h"
#include "platform/fake/FakeAmbientLightSource.h"
#include "platform/fake/FakeAudioOutput.h"
#include "platform/fake/FakeColorFilterPreferences.h"
#include "platform/fake/FakeDisplayTransfer.h"
#include "platform/fake/FakeEventLog.h"
#include "platform/fake/FakeFiles.h"
#include "platform/fake/FakeGlobalShortcuts.h"
#include "platform/fake/FakeLocationProvider.h"
#include "platform/fake/FakeLogSink.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/FakeNightLightClient.h"
#include "platform/fake/FakeNotificationCenter.h"
#include "platform/fake/FakeProcesses.h"
#include "platform/fake/FakeRunLoop.h"
#include "platform/fake/FakeScreens.h"
#include "platform/fake/FakeUserDefaults.h"
#include "platform/fake/FakeWorkspace.h"

namespace solvara {

// Every fake, sharing one event log, with the log routed into `log` and Clock::now() on the
// run loop's virtual clock for the fixture's life. platform() hands out the bundle.
class FakePlatform {
public:
    explicit FakePlatform(Date start = FakeRunLoop::defaultStart)
        : runLoop(start),
          displayTransfer(&events),
          screens(&events),
          processes(&events),
          files(&events),
          nightLight(&events),
          workspace(&events),
          globalShortcuts(&events),
          location(&events),
          notifications(&events),
          audio(&events),
          route_(log) {}

    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    Platform platform() {
        return Platform{
            .runLoop = runLoop,
            .displayTransfer = displayTransfer,
            .screens = screens,
            .processes = processes,
            .files = files,
            .nightLight = nightLight,
            .colorFilter = colorFilter,
            .userDefaults = userDefaults,
            .log = log,
            .workspace = workspace,
            .globalShortcuts = globalShortcuts,
            .location = location,
            .notifications = notifications,
            .audio = audio,
            .ambientLight = ambientLight,
            .loginItem = loginItem,
        };
    }

    FakeEventLog events;
    FakeLogSink log;
    FakeRunLoop runLoop;
    FakeDisplayTransfer displayTransfer;
    FakeScreens screens;
    FakeProcesses processes;
    FakeFiles files;
    FakeNightLightClient nightLight;
    FakeColorFilterPreferences colorFilter;
    FakeUserDefaults userDefaults;
    FakeWorkspace workspace;
    FakeGlobalShortcuts globalShortcuts;
    FakeLocationProvider location;
    FakeNotificationCenter notifications;
    FakeAudioOutput audio;
    FakeAmbientLightSource ambientLight;
    FakeLoginItem loginItem;

private:
    LogRoute route_;
};

}  // namespace solvara
