// The first-run sheet of the solvara program as a new user meets it under a real window manager
// (the one with-xorg.sh started), looked at from a second X client: which of the program's
// windows the window manager stacks on top and which one has the keyboard focus, after the first
// launch, a click on the window beside its sheet and a second launch; then Ctrl+Q with the sheet
// up, and Return through the four pages.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
// After gtest: Xlib's macros (None, Bool...) clash with its names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/linux/XErrorTrap.h"
#include "tests/x11/PingRoundTrip.h"
#include "tests/x11/tray/ProgramProcess.h"

namespace solvara::testing {
namespace {

namespace fs = std::filesystem;

// A user who has never finished the tour, in Berlin by the stored city.
constexpr const char* storedSettings = R"({
  "sv_locationSource": "Manual",
  "sv_selectedCity": "Berlin"
})";

// The desktop as the window manager reports it. The window manager's lists may still name a window
// that has just gone (a program that ended, a sheet dismissed): each request about another
// client's window is made under an XErrorTrap, which would otherwise end the test.
class Desktop {
public:
    Desktop() : display_(XOpenDisplay(nullptr)) {}
    ~Desktop() {
        if (display_ != nullptr) XCloseDisplay(display_);
    }
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    bool isOpen() const { return display_ != nullptr; }

    // Client windows bottom to top.
    std::vector<Window> stacking() { return windows("_NET_CLIENT_LIST_STACKING"); }
    Window active() {
        const std::vector<Window> list = windows("_NET_ACTIVE_WINDOW");
        return list.empty() ? 0 : list.front();
    }
    // The client window that holds the keyboard focus (Qt focuses its top-level window).
    Window focus() {
        Window window = 0;
        int revert = 0;
        XGetInputFocus(display_, &window, &revert);
        return window;
    }
    // The mapped client window of that title, or 0.
    Window named(const std::string& title) {
        for (const Window window : stacking()) {
            if (name(window) == title) return window;
        }
        return 0;
    }
    // Waits until the window manager has taken every event that reached the server before the
    // call: it answers a _NET_REQUEST_FRAME_EXTENTS (openbox, xfwm4 and metacity do) after them,
    // with a property on the window asked about.
    bool windowManagerCaughtUp() {
        const Window probe = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(display_, probe, PropertyChangeMask);
        XEvent request{};
        request.xclient.type = ClientMessage;
        request.xclient.window = probe;
        request.xclient.message_type = XInternAtom(display_, "_NET_REQUEST_FRAME_EXTENTS", False);
        request.xclient.format = 32;
        XSendEvent(display_, DefaultRootWindow(display_), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &request);
        XFlush(display_);
        XEvent answer{};
        const bool answered = waitFor([&] { return XCheckTypedWindowEvent(display_, probe, PropertyNotify, &answer); });
        XDestroyWindow(display_, probe);
        XSync(display_, False);
        return answered;
    }
    bool programCaughtUp(Window window) { return testing::programCaughtUp(display_, window); }
    // Where a window lies on the screen.
    std::optional<std::pair<int, int>> origin(Window window, int* width = nullptr, int* height = nullptr) {
        const x11::XErrorTrap trap(display_);
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, window, &attributes) == 0) return std::nullopt;
        int x = 0;
        int y = 0;
        Window child = 0;
        XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
        if (width != nullptr) *width = attributes.width;
        if (height != nullptr) *height = attributes.height;
        return std::pair(x, y);
    }

private:
    std::vector<Window> windows(const char* property) {
        std::vector<Window> list;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, DefaultRootWindow(display_), XInternAtom(display_, property, False), 0, 1024,
                               False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
            data != nullptr) {
            if (format == 32) {
                const auto* values = reinterpret_cast<const unsigned long*>(data);
                list.assign(values, values + count);
            }
            XFree(data);
        }
        return list;
    }
    std::string name(Window window) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        std::string text;
        const x11::XErrorTrap trap(display_);
        if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False), 0, 256, False,
                               XInternAtom(display_, "UTF8_STRING", False), &type, &format, &count, &after,
                               &data) == Success &&
            data != nullptr) {
            text.assign(reinterpret_cast<const char*>(data), count);
            XFree(data);
        }
        return text;
    }

    Display* display_;
};

class FirstRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(desktop.isOpen());
        if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "xdotool is missing (Debian xdotool)";
        home = makeProgramHome("first-run", storedSettings);
        ASSERT_FALSE(home.empty());
    }
    void TearDown() override {
        for (const pid_t pid : launched) {
            if (waitpid(pid, nullptr, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
        std::error_code ignored;
        fs::remove_all(home, ignored);
    }

    pid_t launch() {
        const fs::path log = home / ("solvara-" + std::to_string(launched.size()) + ".log");
        const pid_t pid = fork();
        if (pid == 0) {
            useProgramHome(home);
            const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(fd, 1);
            dup2(fd, 2);
            execl(SOLVARA_PROGRAM, SOLVARA_PROGRAM, static_cast<char*>(nullptr));
            _exit(127);
        }
        launched.push_back(pid);
        return pid;
    }
    static std::optional<int> exitStatus(pid_t pid) {
        int status = 0;
        if (!waitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }) || !WIFEXITED(status)) {
            return std::nullopt;
        }
        return WEXITSTATUS(status);
    }
    std::string logs() {
        std::string text;
        for (std::size_t i = 0; i < launched.size(); ++i) {
            text += readFile(home / ("solvara-" + std::to_string(i) + ".log"));
        }
        return text;
    }

    // Waits for the main window and its sheet; both 0 when they do not come.
    bool windowsUp() {
        return waitFor([&] {
            main = desktop.named("Solvara");
            sheet = desktop.named("Welcome to Solvara");
            return main != 0 && sheet != 0;
        });
    }
    // The sheet over its window with the keyboard focus, as the window manager has it.
    bool sheetInFront() {
        const std::vector<Window> order = desktop.stacking();
        const auto at = [&](Window window) { return std::find(order.begin(), order.end(), window) - order.begin(); };
        return at(sheet) > at(main) && desktop.active() == sheet && desktop.focus() == sheet;
    }
    // Waits for the end of the program's start-up: the sheet in front, and still there once the
    // program has taken every X event sent to it so far and the window manager every request the
    // program made (the window manager focuses each window it maps, and the program answers).
    bool startedUp() {
        return waitFor([&] { return sheetInFront(); }) && desktop.programCaughtUp(main) &&
               desktop.windowManagerCaughtUp() && waitFor([&] { return sheetInFront(); });
    }
    std::string where() {
        const std::vector<Window> order = desktop.stacking();
        std::ostringstream text;
        text << "main " << main << ", sheet " << sheet << "; stacking (bottom first):";
        for (const Window window : order) text << " " << window;
        text << "; active " << desktop.active() << ", focus " << desktop.focus() << "\n" << logs();
        return text.str();
    }
    static void xdotool(const std::string& arguments) { std::system(("xdotool " + arguments).c_str()); }

    Desktop desktop;
    fs::path home;
    std::vector<pid_t> launched;
    Window main = 0;
    Window sheet = 0;
};

TEST_F(FirstRunTest, TheSheetStaysOverItsWindowWithTheFocusAndCtrlQEndsTheProgram) {
    const pid_t first = launch();
    ASSERT_TRUE(windowsUp()) << where();
    ASSERT_TRUE(startedUp()) << "at the first launch: " << where();

    // A click on the window beside the sheet: the window manager raises and focuses the window.
    int width = 0;
    int height = 0;
    const auto mainAt = desktop.origin(main, &width, &height);
    int sheetWidth = 0;
    const auto sheetAt = desktop.origin(sheet, &sheetWidth);
    ASSERT_TRUE(mainAt && sheetAt);
    // Left of the sheet, halfway down the window; the sheet is far narrower than its window.
    const int x = std::max(mainAt->first + 5, (mainAt->first + sheetAt->first) / 2);
    ASSERT_LT(x, sheetAt->first) << where();
    xdotool("mousemove " + std::to_string(x) + " " + std::to_string(mainAt->second + height / 2) + " click 1");
    // Once the window manager has taken the click, the window has the focus until the program
    // hands it to the sheet.
    ASSERT_TRUE(desktop.windowManagerCaughtUp()) << where();
    EXPECT_TRUE(waitFor([&] { return sheetInFront(); })) << "after a click beside the sheet: " << where();

    // A second launch hands over to the first and ends; the first brings its windows forward, and
    // the window manager stacks and focuses them as the first asks.
    EXPECT_EQ(exitStatus(launch()), 0) << logs();
    ASSERT_TRUE(waitFor([&] {
        return readFile(home / "solvara-0.log").find("[Main] Another launch asked for the main window") !=
               std::string::npos;
    })) << logs();
    ASSERT_TRUE(desktop.programCaughtUp(main)) << where();
    ASSERT_TRUE(desktop.windowManagerCaughtUp()) << where();
    EXPECT_TRUE(waitFor([&] { return sheetInFront(); })) << "after a second launch: " << where();

    xdotool("key ctrl+q");
    EXPECT_EQ(exitStatus(first), 0) << "Ctrl+Q with the sheet up: " << where();
    EXPECT_EQ(readFile(home / "config/solvara/user-defaults.json").find("\"sv_hasCompletedOnboarding\": true"),
              std::string::npos)
        << "the tour comes back at the next launch";
}

TEST_F(FirstRunTest, ReturnGoesThroughTheFourPages) {
    const pid_t program = launch();
    ASSERT_TRUE(windowsUp()) << where();
    ASSERT_TRUE(startedUp()) << where();
    // Each Return moves the focus to the next page's button at once, while the page still slides
    // in: the next Return, which the program takes after it, goes on from there.
    for (int page = 0; page < 4; ++page) xdotool("key Return");
    EXPECT_TRUE(waitFor([&] { return desktop.named("Welcome to Solvara") == 0; })) << where();
    EXPECT_TRUE(waitFor([&] {
        return readFile(home / "config/solvara/user-defaults.json").find("\"sv_hasCompletedOnboarding\": true") !=
               std::string::npos;
    })) << readFile(home / "config/solvara/user-defaults.json");
    kill(program, SIGTERM);
    EXPECT_EQ(exitStatus(program), 0);
}

}  // namespace
}  // namespace solvara::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Display* probe = std::getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    if (!probe) {
        std::fprintf(stderr,
                     "x11_first_run_tests: SKIPPED: no X server at DISPLAY; run them through "
                     "tests/x11/with-xorg.sh --wm=NAME\n");
        const char* required = std::getenv("SOLVARA_REQUIRE_X11");
        return required && std::string_view(required) == "1" ? 1 : 77;
    }
    XCloseDisplay(probe);
    return RUN_ALL_TESTS();
}
