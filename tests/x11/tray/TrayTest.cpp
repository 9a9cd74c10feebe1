// The program's tray item on a real X server with an XEmbed tray host (trayer), driven the way a
// user does: xdotool clicks the docked icon and a mode cell of the popover, and a second X client
// reads back the gamma ramps.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>

#include <gtest/gtest.h>
#include <QApplication>
#include <QFont>
#include <QLayout>
#include <QMenu>
#include <QScreen>
#include <QStyleFactory>
#include <QSystemTrayIcon>

#include "app/state/AppState.h"
#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "app/ui/popover/TrayIcon.h"
#include "platform/fake/FakePlatform.h"
#include "platform/linux/X11Panels.h"
#include "tests/platform/linux/QtTestApplication.h"
// After gtest and Qt: Xlib's macros (None, Bool...) clash with their names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/linux/XErrorTrap.h"
#include "tests/x11/SecondClient.h"
#include "tests/x11/tray/ProgramProcess.h"

namespace solvara::testing {
namespace {

namespace fs = std::filesystem;

std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
        pclose(pipe);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// The innermost window under the pointer, as the X server has it: the one a click goes to.
Window windowUnderPointer(Display* display) {
    Window window = DefaultRootWindow(display);
    for (;;) {
        Window root = 0;
        Window child = 0;
        int rootX = 0;
        int rootY = 0;
        int x = 0;
        int y = 0;
        unsigned mask = 0;
        if (!XQueryPointer(display, window, &root, &child, &rootX, &rootY, &x, &y, &mask) || child == 0) return window;
        window = child;
    }
}

// Puts the pointer on the middle of the docked icon and answers once the X server has the icon's
// window under it, so that a click there reaches the icon. Trayer tells where the icon is (Qt
// reads it from the icon's window, which trayer has reparented) before it has laid out its panel
// and mapped the icon; under load that lasts long enough for a click at the place first read to
// land on the panel. `centre` reads the icon's place anew at each try, `isIcon` tells its window.
bool pointAtIcon(Display* display, const std::function<std::optional<QPoint>()>& centre,
                 const std::function<bool(Window)>& isIcon) {
    return processEventsUntil([&] {
        const x11::XErrorTrap trap(display);
        const std::optional<QPoint> at = centre();
        if (!at) return false;
        XWarpPointer(display, 0, DefaultRootWindow(display), 0, 0, 0, 0, at->x(), at->y());
        return isIcon(windowUnderPointer(display));
    });
}

// Reading is 3800 K at any hour; without the morning boost the popover's rows above the mode
// grid do not depend on the hour.
constexpr const char* storedSettings = R"({
  "sv_isEnabled": true,
  "sv_locationSource": "Manual",
  "sv_selectedCity": "Berlin",
  "sv_currentMode": "Reading",
  "sv_morningBoostEnabled": false
})";

// Where the centre of a control lies in the popover, from the same popover laid out here; with
// `fromBottom` its height is counted up from the popover's bottom edge (rows above the footer come
// and go with the hour).
QPoint controlCentre(const char* objectName, bool fromBottom = false) {
    FakePlatform fakes;
    AppState state(fakes.platform());
    state.setMorningBoostEnabled(false);
    state.setCoordinate(Coordinate{52.52, 13.405});
    state.updateCircadianState();
    FakeUiServices ui;
    MenuBarPopover popover(state, ui.services());
    popover.adjustSize();
    popover.layout()->activate();
    QWidget* control = popover.findChild<QWidget*>(objectName);
    if (control == nullptr) return {};
    const QPoint centre = control->mapTo(&popover, control->rect().center());
    return fromBottom ? QPoint(centre.x(), popover.height() - centre.y()) : centre;
}

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (output("command -v trayer").empty() || output("command -v xdotool").empty()) {
            GTEST_SKIP() << "trayer or xdotool is missing (Debian trayer, xdotool)";
        }
        ASSERT_TRUE(x.isOpen());
        home = makeProgramHome("tray", storedSettings);
        ASSERT_FALSE(home.empty());
        outputs = x.enabledOutputs();
        ASSERT_FALSE(outputs.empty());
        for (const auto& name : outputs) x.setGamma(name, SecondClient::identity(x.gammaSize(name)));
    }
    void TearDown() override {
        program.reset();
        trayer.reset();
        std::error_code ignored;
        fs::remove_all(home, ignored);
    }

    void startTrayer() {
        trayer = std::make_unique<Child>(
            std::vector<std::string>{"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
                                     "120", "--height", "24", "--SetDockType", "true"},
            home / "trayer.log");
        // A tray host is there for Qt and for the program once it owns the tray selection; where its
        // icons land is another matter (pointAtIcon).
        Display* display = x.display();
        const Atom selection =
            XInternAtom(display, ("_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display))).c_str(), False);
        ASSERT_TRUE(waitFor([&] { return XGetSelectionOwner(display, selection) != 0; }))
            << readFile(home / "trayer.log");
    }
    void startProgram() {
        const fs::path h = home;
        program = std::make_unique<Child>(std::vector<std::string>{SOLVARA_PROGRAM}, home / "solvara.log",
                                          [h] { useProgramHome(h); });
    }
    // The docked icon: our small window inside the tray host's panel.
    std::string trayIconWindow() {
        for (std::istringstream ids(output("xdotool search --onlyvisible --class solvara")); ids;) {
            std::string id;
            ids >> id;
            if (id.empty()) continue;
            const std::string geometry = output("xdotool getwindowgeometry " + id);
            if (geometry.find("Geometry: 22x22") != std::string::npos ||
                geometry.find("Geometry: 24x24") != std::string::npos ||
                geometry.find("Geometry: 16x16") != std::string::npos) {
                return id;
            }
        }
        return {};
    }
    // Waits for the end of the program's start-up on a first run: its main window up with the
    // first-run sheet over it, the sheet active with the keyboard focus. The sheet comes a moment
    // after the window, and a popover opened before it closes as the sheet takes the focus.
    bool firstRunWindowsUp() {
        return waitFor([&] {
            const std::string sheet = output("xdotool search --onlyvisible --name '^Welcome to Solvara$' | head -1");
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(x.display(), &focus, &revert);
            return !sheet.empty() && output("xdotool getactivewindow") == sheet && std::to_string(focus) == sheet;
        });
    }
    std::string popoverWindow() { return output("xdotool search --onlyvisible --name '^Solvara popover$' | head -1"); }
    // Clicks the program's docked icon with `button`, once the pointer is really on it.
    void clickIcon(const std::string& icon, int button) {
        const Window window = std::stoul(icon);
        ASSERT_TRUE(pointAtIcon(
            x.display(),
            [&]() -> std::optional<QPoint> {
                const auto place = x.geometry(window);
                if (!place) return std::nullopt;
                return QPoint((*place)[0] + (*place)[2] / 2, (*place)[1] + (*place)[3] / 2);
            },
            [&](Window under) { return under == window; }))
            << "the pointer never rested on the icon\n"
            << readFile(home / "solvara.log");
        std::system(("xdotool click " + std::to_string(button)).c_str());
    }

    SecondClient x;
    std::vector<std::string> outputs;
    fs::path home;
    std::unique_ptr<Child> trayer;
    std::unique_ptr<Child> program;
};

TEST_F(TrayTest, TheIconDocksAClickOpensThePopoverAndAModeCellChangesTheRamps) {
    startTrayer();
    startProgram();
    std::string icon;
    ASSERT_TRUE(waitFor([&] { return !(icon = trayIconWindow()).empty(); })) << readFile(home / "solvara.log");
    ASSERT_TRUE(
        waitFor([&] { return x.gamma(outputs.front()) != SecondClient::identity(x.gammaSize(outputs.front())); }));
    ASSERT_TRUE(firstRunWindowsUp()) << readFile(home / "solvara.log");

    ASSERT_NO_FATAL_FAILURE(clickIcon(icon, 1));
    std::string popover;
    ASSERT_TRUE(waitFor([&] { return !(popover = popoverWindow()).empty(); })) << readFile(home / "solvara.log");
    EXPECT_NE(output("xdotool getwindowgeometry " + popover).find("Geometry: 320x"), std::string::npos);
    const auto before = x.gamma(outputs.front());

    const QPoint cell = controlCentre("modePresentation");
    ASSERT_FALSE(cell.isNull());
    std::system(("xdotool mousemove --window " + popover + " " + std::to_string(cell.x()) + " " +
                 std::to_string(cell.y()) + " click 1")
                    .c_str());
    EXPECT_TRUE(waitFor([&] { return x.gamma(outputs.front()) != before; }))
        << "the ramps did not change after the click on Presentation\n"
        << readFile(home / "solvara.log");

    // A second click on the icon closes the popover, which deletes itself: its window goes.
    ASSERT_NO_FATAL_FAILURE(clickIcon(icon, 1));
    const Window closing = std::stoul(popover);
    EXPECT_TRUE(waitFor([&] { return !x.geometry(closing).has_value(); })) << readFile(home / "solvara.log");
    // The program takes a click on the icon within 300 ms of the popover's end for the one that
    // closed it (TrayIcon's reopen guard, timed from the popover's deletion, which comes before its
    // window is gone): the click that opens it again waits that long from here.
    const auto reopenable = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);

    // A right click opens the menu: one more window of ours comes up, and goes with Escape.
    const auto ours = [&] { return output("xdotool search --onlyvisible --class solvara | wc -l"); };
    const std::string windowsBefore = ours();
    ASSERT_NO_FATAL_FAILURE(clickIcon(icon, 3));
    EXPECT_TRUE(waitFor([&] { return ours() != windowsBefore; })) << readFile(home / "solvara.log");
    std::system("xdotool key Escape");
    EXPECT_TRUE(waitFor([&] { return ours() == windowsBefore; })) << "the menu stayed after Escape";

    // "Open Solvara" closes the popover, which deletes itself, and brings up the main window
    // (the sanitizer run plays this against a sanitizer build of the program).
    std::this_thread::sleep_until(reopenable);
    ASSERT_NO_FATAL_FAILURE(clickIcon(icon, 1));
    ASSERT_TRUE(waitFor([&] { return !(popover = popoverWindow()).empty(); })) << readFile(home / "solvara.log");
    const QPoint open = controlCentre("openButton", true);
    int height = 0;
    std::istringstream(output("xdotool getwindowgeometry " + popover + " | sed -n 's/.*Geometry: [0-9]*x//p'")) >>
        height;
    ASSERT_GT(height, open.y());
    std::system(("xdotool mousemove --window " + popover + " " + std::to_string(open.x()) + " " +
                 std::to_string(height - open.y()) + " click 1")
                    .c_str());
    EXPECT_TRUE(waitFor([&] {
        return popoverWindow().empty() && !output("xdotool search --onlyvisible --name '^Solvara$'").empty();
    })) << readFile(home / "solvara.log");
    EXPECT_TRUE(program->running()) << readFile(home / "solvara.log");
}

// A tray icon on fakes in the XEmbed tray of the test, counting its menu's openings.
struct DockedTray {
    DockedTray() {
        ui.trayHosts.xembed = true;
        QObject::connect(tray.menu(), &QMenu::aboutToShow, [this] { ++menuShown; });
        tray.show();
    }
    // Waits for the icon in the tray with the pointer on it (see pointAtIcon), and reads its place.
    bool dock(Display* display, QRect& icon) {
        const bool docked = pointAtIcon(
            display,
            [&]() -> std::optional<QPoint> {
                const QRect place = tray.systemTrayIcon()->geometry();
                if (place.isEmpty()) return std::nullopt;
                return place.center();
            },
            [](Window under) {
                // Qt's own widget for an icon in an XEmbed tray.
                const QWidget* widget = QWidget::find(under);
                return widget != nullptr && widget->inherits("QSystemTrayIconSys");
            });
        icon = tray.systemTrayIcon()->geometry();
        return docked;
    }
    FakePlatform fakes;
    AppState state{fakes.platform()};
    FakeUiServices ui;
    AppActions actions{state, ui.services()};
    TrayIcon tray{state, ui.services(), actions};
    int menuShown = 0;
};

TEST_F(TrayTest, ARightClickOnTheDockedIconShowsTheMenuOnceAtThePointer) {
    startTrayer();
    DockedTray docked;
    TrayIcon& tray = docked.tray;
    int& shown = docked.menuShown;
    QRect icon;
    ASSERT_TRUE(docked.dock(x.display(), icon)) << "the icon did not dock";

    const QPoint at = icon.center();
    std::system("xdotool click 3");
    ASSERT_TRUE(processEventsUntil([&] { return tray.menu()->isVisible(); }));
    // Qt pops the context menu up itself on an XEmbed tray; a popup of our own would be a second,
    // there and then or queued behind the press.
    settle();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(tray.menu()->geometry().adjusted(-2, -2, 2, 2).contains(at))
        << "menu at " << tray.menu()->geometry().x() << "," << tray.menu()->geometry().y() << ", pointer at " << at.x()
        << "," << at.y();
    EXPECT_EQ(tray.popover(), nullptr);
    tray.menu()->hide();
}

// On an XEmbed tray Qt knows where the icon is: the popover opens below it. While the popover
// holds the pointer a right click on the icon reaches only the popover, which closes; the menu
// opens all the same, once.
TEST_F(TrayTest, ThePopoverOpensBelowTheDockedIconAndARightClickThereSwapsItForTheMenu) {
    startTrayer();
    DockedTray docked;
    TrayIcon& tray = docked.tray;
    int& shown = docked.menuShown;
    QRect icon;
    ASSERT_TRUE(docked.dock(x.display(), icon)) << "the icon did not dock";
    std::system("xdotool click 1");
    ASSERT_TRUE(processEventsUntil([&] { return tray.popover() && tray.popover()->isVisible(); }));
    const QRect placed = tray.popover()->geometry();
    EXPECT_EQ(placed.top(), icon.bottom() + 1 + 4);
    // Centred on the icon as far as the icon's monitor (trayer sits at its right end) allows.
    const QRect monitor = QGuiApplication::screenAt(icon.center())->geometry();
    EXPECT_EQ(placed.left(), std::min(icon.center().x() - placed.width() / 2, monitor.right() + 1 - placed.width()));

    std::system("xdotool click 3");
    EXPECT_TRUE(processEventsUntil([&] { return tray.menu()->isVisible(); }))
        << "the right click only closed the popover";
    EXPECT_TRUE(processEventsUntil([&] { return tray.popover() == nullptr; }));
    settle();
    EXPECT_EQ(shown, 1);
    tray.menu()->hide();
}

// With a window manager the panels sit inside its frames: they are found through
// _NET_CLIENT_LIST (x11_tray_sni_tests reads them with none).
TEST_F(TrayTest, ThePanelsOfTheDesktopAreReadThroughTheWindowManager) {
    const Window dock = x.createDock(1100, 760, 400, 40, {0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 1100, 1499});
    ASSERT_NE(dock, 0u);
    // openbox maps the panel for a moment as a child of the root before it takes it into its
    // frame; read then, the panel would be found without the window manager's help.
    const auto framed = [&] {
        const x11::XErrorTrap trap(x.display());
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(x.display(), dock, &root, &parent, &children, &count) == 0) return false;
        x11::XFreePtr<Window> owned(children);
        return parent != root;
    };
    ASSERT_TRUE(waitFor(framed)) << "openbox never framed the panel";
    DesktopPanels panels;
    const auto found = [&] {
        panels = X11Panels::read();
        return std::any_of(panels.docks.begin(), panels.docks.end(),
                           [](const QRect& rect) { return rect == QRect(1100, 760, 400, 40); });
    };
    EXPECT_TRUE(waitFor(found));
    ASSERT_EQ(panels.struts.size(), 1u);
    EXPECT_EQ(panels.struts.front().edge, ScreenEdge::bottom);
    EXPECT_EQ(panels.struts.front().rect, QRect(1100, 760, 400, 40));
    // openbox publishes its work area; the strut takes the bottom 40 pixels of the X screen.
    ASSERT_TRUE(panels.workArea.has_value());
    EXPECT_EQ(panels.workArea->bottom(), 759);
    x.destroyWindow(dock);
}

TEST_F(TrayTest, WithoutATrayHostTheProgramRunsOnSaysSoOnceAndDocksInATrayStartedLater) {
    startProgram();
    const fs::path log = home / "solvara.log";
    ASSERT_TRUE(waitFor([&] { return readFile(log).find("[Tray] No system tray") != std::string::npos; }))
        << readFile(log);
    EXPECT_TRUE(
        waitFor([&] { return x.gamma(outputs.front()) != SecondClient::identity(x.gammaSize(outputs.front())); }));

    startTrayer();
    EXPECT_TRUE(waitFor([&] { return !trayIconWindow().empty(); })) << readFile(log);
    const std::string text = readFile(log);
    EXPECT_EQ(text.find("[Tray] No system tray"), text.rfind("[Tray] No system tray"));
}

}  // namespace
}  // namespace solvara::testing

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    tzset();
    ::testing::InitGoogleTest(&argc, argv);
    Display* probe = std::getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    if (!probe) {
        std::fprintf(stderr,
                     "x11_tray_tests: SKIPPED: no X server at DISPLAY; run them through tests/x11/with-xorg.sh\n");
        const char* required = std::getenv("SOLVARA_REQUIRE_X11");
        return required && std::string_view(required) == "1" ? 1 : 77;
    }
    XCloseDisplay(probe);
    // The XEmbed tray, for this process and the programs it starts: Qt would take a
    // StatusNotifierItem watcher on a session bus instead (x11_tray_sni_tests covers that one).
    // A bus that is not there, rather than none, which libdbus would autolaunch.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/solvara-no-session-bus", 1);
    // The popover is laid out here as the program lays it out: same style and font.
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    QApplication::setFont(font);
    return RUN_ALL_TESTS();
}
