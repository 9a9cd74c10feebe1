// The solvara program: the Qt application, the Linux platform services, the application
// delegate, one instance per user, and one orderly shutdown whichever way the program ends.

#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <QApplication>
#include <QFont>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QStyleFactory>

#include "app/shell/AppDelegate.h"
#include "app/ui/breaks/QtBreakWindowFactory.h"
#include "app/ui/kit/QtUiServices.h"
#include "app/ui/popover/TrayShell.h"
#include "app/ui/settings/MainWindowHost.h"
#include "core/foundation/Format.h"
#include "core/foundation/Log.h"
#include "platform/LogRoute.h"
#include "platform/filestore/FileUserDefaults.h"
#include "platform/linux/DBusNotificationCenter.h"
#include "platform/linux/GnomeNightLightClient.h"
#include "platform/linux/IioAmbientLightSource.h"
#include "platform/linux/PluginAudioOutput.h"
#include "platform/linux/QtLocationProvider.h"
#include "platform/linux/QtRunLoop.h"
#include "platform/linux/QtScreens.h"
#include "platform/linux/SingleInstance.h"
#include "platform/linux/StderrLogSink.h"
#include "platform/linux/UnavailableColorFilterPreferences.h"
#include "platform/linux/X11DisplayTransfer.h"
#include "platform/linux/X11GlobalShortcuts.h"
#include "platform/linux/X11Session.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/XdgAutostartLoginItem.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixProcesses.h"

namespace {

using namespace solvara;

constexpr std::string_view component = "Main";

// SIGTERM, SIGINT and SIGHUP end up as a byte on a socket the event loop watches, so the
// shutdown runs on the main thread like everything else.
int signalWriteEnd = -1;

extern "C" void forwardSignal(int signalNumber) {
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t written = write(signalWriteEnd, &byte, 1);
}

bool installSignalForwarding(std::array<int, 2>& pair) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair.data()) != 0) return false;
    signalWriteEnd = pair[0];
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) sigaction(signalNumber, &action, nullptr);
    return true;
}

// The stored values that change at every update (the day's exposure samples and the light debt
// they add up to): the store may gather them for a minute. Every other change is written at once.
const FileUserDefaults::KeySet sampleKeys{"sv_exposureRecords", "sv_lightDebtPoints", "sv_lightDebtPeakToday"};

// Qt's X11 connection and Xlib both end the process with exit() when the X server goes away, past
// every shutdown path of ours: what the store still holds is written from the exit handlers.
FileUserDefaults* storeToFlushAtExit = nullptr;

extern "C" void flushStoreAtExit() {
    if (storeToFlushAtExit != nullptr) storeToFlushAtExit->flush();
}

struct FlushAtExit {
    explicit FlushAtExit(FileUserDefaults& store) {
        storeToFlushAtExit = &store;
        std::atexit(flushStoreAtExit);
    }
    ~FlushAtExit() { storeToFlushAtExit = nullptr; }
    FlushAtExit(const FlushAtExit&) = delete;
    FlushAtExit& operator=(const FlushAtExit&) = delete;
};

}  // namespace

int main(int argc, char** argv) {
    StderrLogSink logSink;
    LogRoute logRoute(logSink);

    // Everything here speaks X11 (gamma, workspace, shortcuts, overlay windows); Qt itself
    // would abort without a display.
    if (!X11Session::isReachable()) return 1;
    if (X11Session::warnIfWayland() && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("Solvara");
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    QApplication::setFont(font);

    // Caught from here on: building the delegate restores the settings, which can already change
    // the displays, and a signal then must still put them back. The pipe keeps the signal until
    // the event loop reads it.
    std::array<int, 2> signalPair{-1, -1};
    const bool forwardingSignals = installSignalForwarding(signalPair);

    // Elected before anything touches the displays or the settings: a launch that hands over
    // leaves both alone.
    PosixFiles files;
    std::optional<std::string> privateDirectory = files.runtimeDirectory();
    if (!privateDirectory) privateDirectory = files.stateDirectory();
    SingleInstance instance(privateDirectory);
    if (instance.role() == SingleInstance::Role::handedOver) return 0;
    if (instance.role() == SingleInstance::Role::unanswered) return 1;

    QtRunLoop runLoop;
    X11DisplayTransfer displayTransfer;
    QtScreens screens;
    PosixProcesses processes;
    GnomeNightLightClient nightLight;
    UnavailableColorFilterPreferences colorFilter;
    FileUserDefaults userDefaults(FileUserDefaults::defaultPath().value_or(std::string()), &runLoop, sampleKeys);
    const FlushAtExit flushAtExit(userDefaults);
    X11Workspace workspace;
    X11GlobalShortcuts globalShortcuts;
    QtLocationProvider location;
    DBusNotificationCenter notifications;
    if (const std::optional<std::string>& refused = userDefaults.refusedDirectory()) {
        // Said where the user looks as well as in the journal: every change made in this run
        // is lost at its end.
        notifications.requestAuthorization([&notifications, refused = *refused](bool granted) {
            if (!granted) return;
            notifications.add(
                {"settingsDirectory", "Solvara — Settings Not Saved",
                 "Solvara does not use " + refused + ". It runs with the default settings and saves no change."});
        });
    }
    PluginAudioOutput audio;
    IioAmbientLightSource ambientLight;
    XdgAutostartLoginItem loginItem(QCoreApplication::applicationFilePath().toStdString());
    const Platform platform{.runLoop = runLoop,
                            .displayTransfer = displayTransfer,
                            .screens = screens,
                            .processes = processes,
                            .files = files,
                            .nightLight = nightLight,
                            .colorFilter = colorFilter,
                            .userDefaults = userDefaults,
                            .log = logSink,
                            .workspace = workspace,
                            .globalShortcuts = globalShortcuts,
                            .location = location,
                            .notifications = notifications,
                            .audio = audio,
                            .ambientLight = ambientLight,
                            .loginItem = loginItem};

    QtBreakWindowFactory breakWindows(screens);
    AppDelegate delegate(platform, breakWindows);
    QtUiServices uiServices;
    TrayShell tray(delegate, uiServices.services());
    MainWindowHost mainWindow(delegate, uiServices.services(), tray.actions());

    // However the program ends (a signal, the session's logout, a quit), the displays are put
    // back once, before the event loop stops.
    bool shutDown = false;
    const std::function<void()> shutdown = [&] {
        if (shutDown) return;
        shutDown = true;
        delegate.applicationWillTerminate();
        userDefaults.flush();
        // Not quit(): Qt asks every window to close first, and the main window and the first-run
        // sheet refuse (they hide instead), which would cancel the quit.
        QCoreApplication::exit(0);
    };
    QObject::connect(&application, &QCoreApplication::aboutToQuit, shutdown);
    QObject::connect(&application, &QGuiApplication::commitDataRequest, [&](QSessionManager&) { shutdown(); });

    std::unique_ptr<QSocketNotifier> signalNotifier;
    if (forwardingSignals) {
        signalNotifier = std::make_unique<QSocketNotifier>(signalPair[1], QSocketNotifier::Read);
        QObject::connect(signalNotifier.get(), &QSocketNotifier::activated, [&] {
            char byte = 0;
            if (read(signalPair[1], &byte, 1) == 1)
                Log::write(component, "Signal " + format::integer(byte) + ": quitting");
            shutdown();
        });
    } else {
        Log::write(component, "Cannot watch for termination signals");
    }

    instance.onShowRequest([&delegate] { delegate.applicationShouldHandleReopen(); });

    delegate.applicationDidFinishLaunching();
    const int status = QApplication::exec();
    shutdown();
    return status;
}
