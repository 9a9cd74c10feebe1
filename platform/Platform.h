#pragma once

#include "platform/AmbientLightSource.h"
#include "platform/AudioOutput.h"
#include "platform/ColorFilterPreferences.h"
#include "platform/DisplayTransfer.h"
#include "platform/Files.h"
#include "platform/GlobalShortcuts.h"
#include "platform/LocationProvider.h"
#include "platform/LogSink.h"
#include "platform/LoginItem.h"
#include "platform/NightLightClient.h"
#include "platform/NotificationCenter.h"
#include "platform/Processes.h"
#include "platform/RunLoop.h"
#include "platform/Screens.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

namespace solvara {

// Every platform service the program logic uses, built once (by main on Linux, by a test
// fixture from the fakes) and passed down by reference. The services outlive everything that
// holds this bundle. Aggregate: initialise it with designated initialisers.
struct Platform {
    RunLoop& runLoop;
    DisplayTransfer& displayTransfer;
    Screens& screens;
    Processes& processes;
    Files& files;
    NightLightClient& nightLight;
    ColorFilterPreferences& colorFilter;
    UserDefaults& userDefaults;
    LogSink& log;
    Workspace& workspace;
    GlobalShortcuts& globalShortcuts;
    LocationProvider& location;
    NotificationCenter& notifications;
    AudioOutput& audio;
    AmbientLightSource& ambientLight;
    LoginItem& loginItem;
};

}  // namespace solvara
