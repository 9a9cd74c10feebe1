#include "platform/linux/X11Workspace.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/LogCapture.h"
#include "tests/x11/shell/SessionHelpers.h"

// After Qt: Xlib's macros break Qt's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace solvara {
namespace {

using testing::processEventsUntil;
using testing::runTool;

// A top-level window of another program, made by a client of its own.
class ProbeWindow {
public:
    ProbeWindow(const char* windowClass, const char* gtkApplicationId = nullptr, const char* instance = "probe")
        : display_(XOpenDisplay(nullptr)) {
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 50, 50, 400, 300, 0, 0, 0xFFFFFF);
        XClassHint hint{const_cast<char*>(instance), const_cast<char*>(windowClass)};
        XSetClassHint(display_, window_, &hint);
        if (gtkApplicationId != nullptr) setApplicationId(gtkApplicationId);
        XMapWindow(display_, window_);
        XSync(display_, False);
    }
    ~ProbeWindow() {
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }
    ProbeWindow(const ProbeWindow&) = delete;
    ProbeWindow& operator=(const ProbeWindow&) = delete;

    QString id() const { return QString::number(window_); }

    void setApplicationId(const char* gtkApplicationId) const {
        const Atom property = XInternAtom(display_, "_GTK_APPLICATION_ID", False);
        const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
        XChangeProperty(display_, window_, property, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(gtkApplicationId),
                        static_cast<int>(std::string(gtkApplicationId).size()));
        XSync(display_, False);
    }

    // Through the window manager, as a click would, once it manages the window.
    bool activate() const {
        if (!processEventsUntil([&] { return managed(); })) return false;
        return runTool("wmctrl", {"-i", "-a", id()}).has_value();
    }
    bool setFullScreen(bool on) const {
        return runTool("wmctrl", {"-i", "-r", id(), "-b", QString(on ? "add" : "remove") + ",fullscreen"}).has_value();
    }

private:
    // Whether the window manager has taken the window on (its WM_STATE) and lists it, as wmctrl
    // wants. The list alone can fool: a new connection may get the ids of one just closed, whose
    // window the manager has not yet struck off.
    bool managed() const {
        const auto property = [&](Window window, const char* name, Atom type) {
            Atom actualType = 0;
            int format = 0;
            unsigned long count = 0;
            unsigned long remaining = 0;
            unsigned char* data = nullptr;
            std::vector<unsigned long> values;
            if (XGetWindowProperty(display_, window, XInternAtom(display_, name, False), 0, 4096, False, type,
                                   &actualType, &format, &count, &remaining, &data) == Success &&
                data != nullptr && format == 32) {
                const auto* longs = reinterpret_cast<const unsigned long*>(data);
                values.assign(longs, longs + count);
            }
            if (data != nullptr) XFree(data);
            return values;
        };
        const std::vector<unsigned long> listed = property(DefaultRootWindow(display_), "_NET_CLIENT_LIST", XA_WINDOW);
        return !property(window_, "WM_STATE", AnyPropertyType).empty() &&
               std::find(listed.begin(), listed.end(), window_) != listed.end();
    }

    Display* display_;
    Window window_;
};

class WorkspaceX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "solvara-apps-XXXXXX").string();
        applications = mkdtemp(pattern.data());
        std::ofstream(applications / "org.example.Viewer.desktop")
            << "[Desktop Entry]\nType=Application\nName=Viewer\nStartupWMClass=ExampleViewer\n";
        std::ofstream(applications / "gimp.desktop") << "[Desktop Entry]\nType=Application\nStartupWMClass=gimp-2.10\n";
    }
    void TearDown() override { std::filesystem::remove_all(applications); }

    std::filesystem::path applications;
};

TEST_F(WorkspaceX11Test, TheActiveWindowIsNamedByItsDesktopIdElseItsClass) {
    X11Workspace workspace(DesktopFileIndex({applications.string()}));
    std::vector<std::optional<RunningApplication>> reports;
    workspace.observeFrontmostApplication(
        [&](const std::optional<RunningApplication>& app) { reports.push_back(app); });

    struct Case {
        const char* windowClass;
        const char* gtkApplicationId;
        const char* expected;
        const char* instance = "probe";
    };
    for (const Case& c : std::vector<Case>{{"SolvaraProbe", nullptr, "SolvaraProbe"},
                                           {"ExampleViewer", nullptr, "org.example.Viewer"},
                                           {"Gimp-2.10", nullptr, "gimp", "gimp-2.10"},
                                           {"Gedit", "org.gnome.gedit", "org.gnome.gedit"}}) {
        ProbeWindow window(c.windowClass, c.gtkApplicationId, c.instance);
        reports.clear();
        ASSERT_TRUE(window.activate()) << c.windowClass;
        ASSERT_TRUE(processEventsUntil([&] {
            return !reports.empty() && reports.back() && reports.back()->desktopId == c.expected;
        })) << c.windowClass;
        const std::optional<RunningApplication> frontmost = workspace.frontmostApplication();
        ASSERT_TRUE(frontmost.has_value());
        EXPECT_EQ(frontmost->desktopId, c.expected);
        EXPECT_FALSE(workspace.isActiveWindowFullScreen());
    }
}

TEST_F(WorkspaceX11Test, TheActiveWindowIsNamedAfreshWhenItsNameChanges) {
    X11Workspace workspace(DesktopFileIndex({applications.string()}));
    ProbeWindow window("Launcher");
    ASSERT_TRUE(window.activate());
    ASSERT_TRUE(processEventsUntil([&] {
        auto app = workspace.frontmostApplication();
        return app && app->desktopId == "Launcher";
    }));
    // A program that sets its application id once its window is up (the kept description must
    // not hide it).
    window.setApplicationId("org.example.Launched");
    EXPECT_TRUE(processEventsUntil([&] {
        auto app = workspace.frontmostApplication();
        return app && app->desktopId == "org.example.Launched";
    }));
}

TEST_F(WorkspaceX11Test, FullScreenIsFollowedWithoutAChangeOfWindow) {
    X11Workspace workspace(DesktopFileIndex({applications.string()}));
    int reports = 0;
    const WorkspaceObserverId id = workspace.observeFrontmostApplication([&](const auto&) { ++reports; });
    ProbeWindow window("FilmPlayer");
    ASSERT_TRUE(window.activate());
    ASSERT_TRUE(processEventsUntil([&] {
        auto app = workspace.frontmostApplication();
        return app && app->desktopId == "FilmPlayer";
    }));

    reports = 0;
    ASSERT_TRUE(window.setFullScreen(true));
    ASSERT_TRUE(processEventsUntil([&] { return workspace.isActiveWindowFullScreen(); }));
    EXPECT_TRUE(processEventsUntil([&] { return reports > 0; })) << "entering full screen is reported";

    reports = 0;
    ASSERT_TRUE(window.setFullScreen(false));
    ASSERT_TRUE(processEventsUntil([&] { return !workspace.isActiveWindowFullScreen(); }));
    EXPECT_TRUE(processEventsUntil([&] { return reports > 0; }));

    workspace.removeObserver(id);
    reports = 0;
    ASSERT_TRUE(window.setFullScreen(true));
    // Seen, so its report (observers hear on a later turn of the loop) has been posted.
    ASSERT_TRUE(processEventsUntil([&] { return workspace.isActiveWindowFullScreen(); }));
    testing::settle();
    EXPECT_EQ(reports, 0);
}

TEST_F(WorkspaceX11Test, IdleTimesFollowEachKindOfInput) {
    X11Workspace workspace;
    const auto idle = [&](InputEventKind kind) { return workspace.secondsSinceLastEvent(kind).value_or(-1); };
    // Runs the tool and waits until an input of `kind` is seen that came after it started: an idle
    // time no longer than the time since then. (However long the tool takes to end.)
    const auto seen = [&](const QStringList& tool, InputEventKind kind) {
        const auto sent = std::chrono::steady_clock::now();
        if (!runTool("xdotool", tool)) return false;
        return processEventsUntil([&] {
            const double seconds = idle(kind);
            return seconds >= 0 &&
                   seconds <= std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
        });
    };
    // Relative moves go through the XTEST pointer like a real mouse; an absolute "mousemove" is a
    // pointer warp, which is no input.
    ASSERT_TRUE(seen({"mousemove_relative", "20", "20"}, InputEventKind::mouseMoved));

    ASSERT_TRUE(processEventsUntil([&] { return idle(InputEventKind::mouseMoved) >= 1.0; }));
    ASSERT_TRUE(seen({"key", "shift"}, InputEventKind::keyDown));
    // Typing is no mouse movement: the pointer has been idle a second longer than the keyboard.
    const double sinceKey = idle(InputEventKind::keyDown);
    EXPECT_GE(idle(InputEventKind::mouseMoved), sinceKey + 1.0);

    EXPECT_TRUE(seen({"click", "1"}, InputEventKind::leftMouseDown));
}

TEST_F(WorkspaceX11Test, ScreensAddedOrRemovedAreReported) {
    X11Workspace workspace;
    int changes = 0;
    workspace.observeScreenChanges([&] { ++changes; });
    ASSERT_TRUE(runTool("xrandr", {"--output", "DUMMY1", "--off"}));
    const bool reportedOff = processEventsUntil([&] { return changes > 0; });
    changes = 0;
    ASSERT_TRUE(runTool("xrandr", {"--output", "DUMMY1", "--mode", "1280x800", "--right-of", "DUMMY0"}));
    const bool reportedOn = processEventsUntil([&] { return changes > 0; });
    EXPECT_TRUE(reportedOff);
    EXPECT_TRUE(reportedOn);
}

}  // namespace
}  // namespace solvara
