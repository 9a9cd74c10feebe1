// The tray item as StatusNotifierItem hosts see it (KDE Plasma, GNOME's AppIndicator extension,
// xfce4-panel, lxqt-panel, waybar): the test plays the host's StatusNotifierWatcher on a
// private session bus, registered before the program's tray icon is made, and reads the item
// and its com.canonical.dbusmenu menu over D-Bus the way those hosts do: the tray shell built
// here on fakes, and the solvara program itself. TraySniLateHostTest plays panels that come
// after the program and replace one another.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <QApplication>
#include <QCursor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QMenu>
#include <QScreen>
#include <QStyleFactory>
#include <QThread>
#include <nlohmann/json.hpp>

#include "app/shell/AppDelegate.h"
#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/popover/TrayIcon.h"
#include "app/ui/popover/TrayShell.h"
#include "tests/app/shell/AppDelegateTestSupport.h"
#include "tests/platform/linux/QtTestApplication.h"
#include "tests/x11/tray/ProgramProcess.h"

namespace solvara::testing {
namespace {

namespace fs = std::filesystem;

// The host's side of the protocol, as small as hosts need it to be: it answers that a host is
// registered, and records the items that register.
class StatusNotifierWatcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    QStringList registeredItems() const {
        const std::lock_guard lock(mutex_);
        return items_;
    }
    bool isHostRegistered() const {
        ++hostQuestions;
        return hostRegistered;
    }
    int protocolVersion() const { return 0; }
    void clear() {
        const std::lock_guard lock(mutex_);
        items_.clear();
    }

public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        // An item may give its well-known name or only an object path (then its sender's name).
        const QString name = service.startsWith('/') ? message().service() : service;
        {
            const std::lock_guard lock(mutex_);
            items_ << name;
        }
        emit StatusNotifierItemRegistered(name);
    }
    void RegisterStatusNotifierHost(const QString&) {}

public:
    // KDE's watcher runs before the panel registers its host with it.
    std::atomic<bool> hostRegistered{true};
    // How often a client has asked whether a host is registered.
    mutable std::atomic<int> hostQuestions{0};

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    mutable std::mutex mutex_;
    QStringList items_;
};

// One node of a dbusmenu layout: (ia{sv}av).
struct MenuNode {
    int id = 0;
    QVariantMap properties;
    std::vector<MenuNode> children;

    QString label() const {
        return properties.value("type").toString() == "separator" ? QString("-") : properties.value("label").toString();
    }
    QStringList childLabels() const {
        QStringList labels;
        for (const MenuNode& child : children) labels << child.label();
        return labels;
    }
    const MenuNode* find(const QString& text) const {
        for (const MenuNode& child : children) {
            if (child.label() == text) return &child;
        }
        return nullptr;
    }
};

MenuNode parseNode(const QDBusArgument& argument) {
    MenuNode node;
    argument.beginStructure();
    argument >> node.id >> node.properties;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        node.children.push_back(parseNode(child.variant().value<QDBusArgument>()));
    }
    argument.endArray();
    argument.endStructure();
    return node;
}

QString busAddress;

class TraySniTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Registered once for the process: Qt decides between D-Bus and XEmbed at the first tray
        // icon and keeps that answer.
        hostBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(busAddress, "solvara-test-host"));
        // The watcher answers from a thread of its own: Qt asks it with blocking calls from the
        // main thread, where the item lives.
        watcher = new StatusNotifierWatcher();
        ASSERT_TRUE(hostBus->registerObject("/StatusNotifierWatcher", watcher,
                                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                                QDBusConnection::ExportAllProperties));
        hostThread = new QThread();
        hostThread->start();
        watcher->moveToThread(hostThread);
        ASSERT_TRUE(hostBus->registerService("org.kde.StatusNotifierWatcher"));
    }

    static void TearDownTestSuite() {
        // The watcher goes in its own thread (a finishing thread deletes what waits for it) and
        // while its connection still lives, which hears of it.
        watcher->deleteLater();
        watcher = nullptr;
        hostThread->quit();
        hostThread->wait();
        delete hostThread;
        hostBus.reset();
        QDBusConnection::disconnectFromBus("solvara-test-host");
    }

    TraySniTest() : delegate(fakes.platform(), breakWindows) {}

    void SetUp() override {
        ASSERT_TRUE(hostBus->isConnected());
        watcher->clear();
    }

    // A call from the host, answered while our own event loop (the item's side) runs.
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(item, path, interface, method);
        message.setArguments(arguments);
        QDBusPendingCallWatcher pending(hostBus->asyncCall(message));
        processEventsUntil([&] { return pending.isFinished(); });
        return pending.reply();
    }
    QVariant itemProperty(const QString& name) {
        const QDBusMessage reply =
            call("/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get", {"org.kde.StatusNotifierItem", name});
        return reply.arguments().isEmpty() ? QVariant() : reply.arguments().front().value<QDBusVariant>().variant();
    }
    MenuNode layout() {
        const QDBusMessage reply = call(menuPath, "com.canonical.dbusmenu", "GetLayout", {0, -1, QStringList()});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2) {
            ADD_FAILURE() << "GetLayout failed: " << reply.errorMessage().toStdString();
            return {};
        }
        return parseNode(reply.arguments().at(1).value<QDBusArgument>());
    }
    // Builds the tray shell here, on the fakes; waits for its item to register and reads where its
    // menu is.
    void startTray() {
        ui.trayHosts.statusNotifier = true;
        shell = std::make_unique<TrayShell>(delegate, ui.services());
        ASSERT_TRUE(processEventsUntil([&] { return !watcher->registeredItems().isEmpty(); }))
            << "the item never called RegisterStatusNotifierItem";
        item = watcher->registeredItems().front();
        menuPath = itemProperty("Menu").value<QDBusObjectPath>().path();
        // "/NO_DBUSMENU" is how an item says it has no menu.
        ASSERT_FALSE(menuPath.isEmpty());
        ASSERT_NE(menuPath.toStdString(), "/NO_DBUSMENU");
    }

    static std::unique_ptr<QDBusConnection> hostBus;
    static QThread* hostThread;
    static StatusNotifierWatcher* watcher;
    FakePlatform fakes;
    FakeBreakWindowFactory breakWindows;
    AppDelegate delegate;
    FakeUiServices ui;
    std::unique_ptr<TrayShell> shell;
    QString item;
    QString menuPath;
};

std::unique_ptr<QDBusConnection> TraySniTest::hostBus;
QThread* TraySniTest::hostThread = nullptr;
StatusNotifierWatcher* TraySniTest::watcher = nullptr;

TEST_F(TraySniTest, TheItemExportsTheCommandsOverDbusmenuAndAClickedEventRunsOne) {
    ASSERT_NO_FATAL_FAILURE(startTray());
    const QDBusMessage introspection =
        call(menuPath, "org.freedesktop.DBus.Introspectable", "Introspect", QVariantList());
    ASSERT_FALSE(introspection.arguments().isEmpty());
    EXPECT_TRUE(introspection.arguments().front().toString().contains("com.canonical.dbusmenu"));

    const MenuNode root = layout();
    EXPECT_EQ(root.childLabels(), (QStringList{"Open Solvara", "-", "Toggle On/Off", "Cycle Mode", "-",
                                               "Warmer (+100K)", "Cooler (-100K)", "-", "Toggle PWM Protection",
                                               "Take Break Now", "-", "Help", "About Solvara", "-", "Quit Solvara"}));
    const MenuNode* help = root.find("Help");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->properties.value("children-display").toString(), "submenu");
    EXPECT_EQ(help->childLabels(), (QStringList{"Solvara Help", "Keyboard Shortcuts", "-", "Visit Website",
                                                "The Science", "-", "Send Feedback..."}));
    // The keys travel as the item's shortcut, for the host to draw: [["Control", "Alt", "M"]].
    const MenuNode* cycle = root.find("Cycle Mode");
    ASSERT_NE(cycle, nullptr);
    EXPECT_TRUE(cycle->properties.contains("shortcut"));
    EXPECT_TRUE(root.find("Toggle On/Off")->properties.value("enabled").toBool());

    const DisplayMode before = delegate.appState().currentMode();
    const QDBusMessage clicked = call(menuPath, "com.canonical.dbusmenu", "Event",
                                      {cycle->id, "clicked", QVariant::fromValue(QDBusVariant(QVariant(0))), 0u});
    EXPECT_EQ(clicked.type(), QDBusMessage::ReplyMessage) << clicked.errorMessage().toStdString();
    const DisplayMode expected = AppActions::nextMode(before);
    SOLVARA_EXPECT_EVENTUALLY_EQ(delegate.appState().currentMode(), expected);
    EXPECT_EQ(fakes.userDefaults.stringValue("sv_currentMode").value_or(""), std::string(rawValue(expected)));
}

TEST_F(TraySniTest, AStateChangeReachesTheExportedMenuWithoutItBeingShown) {
    ASSERT_NO_FATAL_FAILURE(startTray());
    const auto takeBreakEnabled = [&] {
        const MenuNode root = layout();
        const MenuNode* takeBreak = root.find("Take Break Now");
        return takeBreak != nullptr && takeBreak->properties.value("enabled", true).toBool();
    };
    // Breaks are off on a first run: the command waits for them.
    EXPECT_FALSE(takeBreakEnabled());
    delegate.appState().setBreaksEnabled(true);
    SOLVARA_EXPECT_EVENTUALLY(takeBreakEnabled());
    delegate.appState().setBreaksEnabled(false);
    SOLVARA_EXPECT_EVENTUALLY(!takeBreakEnabled());
    EXPECT_FALSE(shell->trayIcon().menu()->isVisible());
}

TEST_F(TraySniTest, ActivateOpensThePopoverAtTheClickButNotForTheClickThatClosedIt) {
    ASSERT_NO_FATAL_FAILURE(startTray());
    TrayIcon& tray = shell->trayIcon();
    // Hosts pass the click's place; the pointer is there when the user clicks.
    const QPoint click(700, 100);
    QCursor::setPos(click);
    ASSERT_TRUE(processEventsUntil([&] { return QCursor::pos() == click; }));
    const auto activate = [&] {
        call("/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", {click.x(), click.y()});
    };
    const auto open = [&] { return tray.popover() != nullptr && tray.popover()->isVisible(); };
    activate();
    ASSERT_TRUE(processEventsUntil(open));
    const QRect placed = tray.popover()->geometry();
    EXPECT_NEAR(placed.center().x(), click.x(), 2);
    EXPECT_GT(placed.top(), click.y());
    EXPECT_LT(placed.top(), click.y() + 12);

    // A host that hears the click the popover closes on (a Wayland panel over XWayland) sends
    // Activate for it too, just after: the popover stays closed. Timed from before the close, so
    // no less than the program's own timing; an Activate that comes 300 ms on (a machine that
    // slow) is taken for the next click, and the check is left out.
    QElapsedTimer sinceClose;
    sinceClose.start();
    tray.popover()->close();
    ASSERT_TRUE(processEventsUntil([&] { return tray.popover() == nullptr; }));
    activate();
    const bool sameClick = sinceClose.elapsed() < 300;
    settle();
    if (sameClick) {
        EXPECT_FALSE(open()) << "the click that closed the popover opened it again";
    }
    if (tray.popover() != nullptr) tray.popover()->close();

    // The next click opens it again.
    ASSERT_TRUE(processEventsUntil([&] { return tray.popover() == nullptr; }));
    QElapsedTimer gone;
    gone.start();
    processEventsUntil([&] { return gone.elapsed() >= 300; });
    activate();
    EXPECT_TRUE(processEventsUntil(open)) << "the popover never opened again";
}

TEST_F(TraySniTest, AHostThatAsksForTheMenuGetsTheSameMenuAtThePointer) {
    ASSERT_NO_FATAL_FAILURE(startTray());
    const QPoint click(600, 120);
    QCursor::setPos(click);
    ASSERT_TRUE(processEventsUntil([&] { return QCursor::pos() == click; }));
    QMenu* menu = shell->trayIcon().menu();
    int shown = 0;
    QObject::connect(menu, &QMenu::aboutToShow, [&] { ++shown; });
    call("/StatusNotifierItem", "org.kde.StatusNotifierItem", "ContextMenu", {click.x(), click.y()});
    ASSERT_TRUE(processEventsUntil([&] { return menu->isVisible(); }));
    settle();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(menu->geometry().topLeft(), click);
    EXPECT_EQ(shell->trayIcon().popover(), nullptr);
    menu->hide();
}

TEST_F(TraySniTest, TheProgramRegistersItsItemAndSavesTheModeACycleModeClickChooses) {
    const fs::path home =
        makeProgramHome("sni-program", R"({"sv_isEnabled": true, "sv_hasCompletedOnboarding": true,)"
                                       R"( "sv_locationSource": "Manual", "sv_selectedCity": "Berlin",)"
                                       R"( "sv_currentMode": "Reading"})");
    ASSERT_FALSE(home.empty());
    const fs::path settings = home / "config/solvara/user-defaults.json";
    const auto storedMode = [&] {
        const auto document = nlohmann::json::parse(readFile(settings), nullptr, false);
        return document.is_object() && document.contains("sv_currentMode") && document["sv_currentMode"].is_string()
                   ? document["sv_currentMode"].get<std::string>()
                   : std::string();
    };
    {
        // The program finds the bus and its watcher through DBUS_SESSION_BUS_ADDRESS, set by main.
        Child program({SOLVARA_PROGRAM}, home / "solvara.log", [home] { useProgramHome(home); });
        ASSERT_TRUE(processEventsUntil([&] { return !watcher->registeredItems().isEmpty(); }))
            << readFile(home / "solvara.log");
        item = watcher->registeredItems().front();
        menuPath = itemProperty("Menu").value<QDBusObjectPath>().path();
        ASSERT_NE(menuPath.toStdString(), "/NO_DBUSMENU");
        const MenuNode root = layout();
        const MenuNode* cycle = root.find("Cycle Mode");
        ASSERT_NE(cycle, nullptr) << root.childLabels().join(", ").toStdString();
        ASSERT_NE(root.find("Help"), nullptr);
        EXPECT_EQ(root.find("Help")->children.size(), 7u);
        EXPECT_EQ(storedMode(), "Reading");

        call(menuPath, "com.canonical.dbusmenu", "Event",
             {cycle->id, "clicked", QVariant::fromValue(QDBusVariant(QVariant(0))), 0u});
        EXPECT_TRUE(waitFor([&] { return storedMode() == "Presentation"; })) << "stored mode: " << storedMode() << "\n"
                                                                             << readFile(home / "solvara.log");
    }
    std::error_code ignored;
    fs::remove_all(home, ignored);
}

// A panel that comes after the program, as at login where both start side by side, and one
// that replaces it. Each plays the watcher on a connection of its own; the program runs before
// any of them.
class Panel {
public:
    explicit Panel(const QString& name, bool hostRegistered)
        : name_(name), bus_(QDBusConnection::connectToBus(busAddress, name)) {
        watcher.hostRegistered = hostRegistered;
        EXPECT_TRUE(bus_.registerObject("/StatusNotifierWatcher", &watcher,
                                        QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                            QDBusConnection::ExportAllProperties));
        EXPECT_TRUE(bus_.registerService("org.kde.StatusNotifierWatcher"));
    }
    ~Panel() {
        bus_.unregisterService("org.kde.StatusNotifierWatcher");
        bus_.unregisterObject("/StatusNotifierWatcher");
        QDBusConnection::disconnectFromBus(name_);
    }
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    StatusNotifierWatcher watcher;

private:
    QString name_;
    QDBusConnection bus_;
};

// The solvara program in a home of its own, started before any tray host; its log read back.
// What the program says when it makes its icon for a tray that came after it.
constexpr std::string_view sniShown = "[Tray] A system tray (StatusNotifierItem) is there now";
constexpr std::string_view xembedShown = "[Tray] A system tray (XEmbed) is there now";

class LateProgram {
public:
    LateProgram() {
        home_ = makeProgramHome("sni-late", R"({"sv_hasCompletedOnboarding": true})");
        EXPECT_FALSE(home_.empty());
        const fs::path home = home_;
        program_ = std::make_unique<Child>(std::vector<std::string>{SOLVARA_PROGRAM}, home_ / "solvara.log",
                                           [home] { useProgramHome(home); });
    }
    ~LateProgram() {
        program_.reset();
        std::error_code ignored;
        fs::remove_all(home_, ignored);
    }
    LateProgram(const LateProgram&) = delete;
    LateProgram& operator=(const LateProgram&) = delete;

    std::string log() const { return readFile(home_ / "solvara.log"); }
    std::size_t count(std::string_view line) const {
        const std::string text = log();
        std::size_t count = 0;
        for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++count;
        return count;
    }

private:
    fs::path home_;
    std::unique_ptr<Child> program_;
};

TEST(TraySniLateHostTest, TheItemRegistersWithAPanelStartedAfterTheProgramAndWithTheNextPanel) {
    const LateProgram program;
    ASSERT_TRUE(waitFor([&] { return program.count("[Tray] No system tray") > 0; })) << program.log();

    auto panel = std::make_unique<Panel>("solvara-test-panel-1", false);
    // A watcher without its host is no tray yet: Qt would answer XEmbed for good. The program
    // asks the new watcher for its host and hears of none; only then does the host come.
    ASSERT_TRUE(processEventsUntil([&] { return panel->watcher.hostQuestions > 0; })) << program.log();
    EXPECT_TRUE(panel->watcher.registeredItems().isEmpty());
    panel->watcher.hostRegistered = true;
    emit panel->watcher.StatusNotifierHostRegistered();
    EXPECT_TRUE(processEventsUntil([&] { return !panel->watcher.registeredItems().isEmpty(); })) << program.log();
    // An icon made on that first answer would have been XEmbed, whatever Qt heard next.
    EXPECT_EQ(program.count(sniShown), 1u) << program.log();
    EXPECT_EQ(program.count(xembedShown), 0u) << program.log();

    panel.reset();
    panel = std::make_unique<Panel>("solvara-test-panel-2", true);
    EXPECT_TRUE(processEventsUntil([&] { return !panel->watcher.registeredItems().isEmpty(); })) << program.log();
    EXPECT_EQ(program.count("[Tray] No system tray"), 1u) << program.log();
}

}  // namespace
}  // namespace solvara::testing

#include "TraySniTest.moc"

// After Qt and its generated code: Xlib's macros (None, Bool...) clash with their names.
#include "tests/x11/SecondClient.h"

namespace solvara::testing {
namespace {

// A panel of the test's own, 33 pixels thick along the top or bottom edge of one monitor, as
// panels describe themselves: struts count from the edge of the whole X screen.
struct DockPanel {
    QRect dock;
    std::array<long, 12> strut;
    QPoint click;
};
DockPanel panelOn(const QRect& monitor, bool top, Display* display) {
    constexpr int thickness = 33;
    const long left = monitor.left();
    const long right = monitor.right();
    if (top)
        return {QRect(monitor.left(), 0, monitor.width(), thickness),
                {0, 0, thickness, 0, 0, 0, 0, 0, left, right, 0, 0},
                QPoint(monitor.center().x(), thickness / 2)};
    const int y = monitor.bottom() + 1 - thickness;
    const long fromScreenBottom = DisplayHeight(display, DefaultScreen(display)) - y;
    return {QRect(monitor.left(), y, monitor.width(), thickness),
            {0, 0, 0, fromScreenBottom, 0, 0, 0, 0, 0, 0, left, right},
            QPoint(monitor.center().x(), y + thickness / 2)};
}

// The test server's two monitors, left to right.
std::vector<QRect> monitors() {
    std::vector<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens()) rects.push_back(screen->geometry());
    std::sort(rects.begin(), rects.end(), [](const QRect& a, const QRect& b) { return a.x() < b.x(); });
    return rects;
}

// KDE Plasma at login: xembedsniproxy takes the XEmbed tray just before plasmashell registers
// its host with the running watcher. The item still goes to the host, not to the XEmbed tray.
TEST(TraySniLateHostTest, AnXEmbedTrayBesideAWatcherWithoutItsHostWaitsForTheHost) {
    const LateProgram program;
    ASSERT_TRUE(waitFor([&] { return program.count("[Tray] No system tray") > 0; })) << program.log();
    Panel panel("solvara-test-panel-3", false);
    // The program has heard of the watcher, and of no host, before the XEmbed tray comes.
    ASSERT_TRUE(processEventsUntil([&] { return panel.watcher.hostQuestions > 0; })) << program.log();

    SecondClient proxy;
    Display* display = proxy.display();
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
    const Window owner = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const int asked = panel.watcher.hostQuestions;
    XSetSelectionOwner(display, XInternAtom(display, selection.c_str(), False), owner, CurrentTime);
    XSync(display, False);
    // News of the XEmbed tray makes it ask for the host again; it is to wait for the host
    // from that answer on (hostGraceMs), not take the XEmbed tray.
    ASSERT_TRUE(processEventsUntil([&] { return panel.watcher.hostQuestions > asked; })) << program.log();
    panel.watcher.hostRegistered = true;
    emit panel.watcher.StatusNotifierHostRegistered();
    EXPECT_TRUE(processEventsUntil([&] { return !panel.watcher.registeredItems().isEmpty(); })) << program.log();
    EXPECT_EQ(program.count(sniShown), 1u) << program.log();
    EXPECT_EQ(program.count(xembedShown), 0u) << program.log();
    XDestroyWindow(display, owner);
    XSync(display, False);
}

// Qt 6.4 gives no work area per monitor once X11 has two, and there is no window manager here to
// publish one: the panels' own struts are all there is to go by.
TEST_F(TraySniTest, ThePopoverOpensBesideAPanelAtEitherEdgeOfEitherMonitor) {
    ASSERT_NO_FATAL_FAILURE(startTray());
    SecondClient x;
    ASSERT_TRUE(x.isOpen());
    ASSERT_EQ(monitors().size(), 2u);
    TrayIcon& tray = shell->trayIcon();
    AppState& state = delegate.appState();
    for (const QRect& monitor : monitors()) {
        for (const bool top : {true, false}) {
            const DockPanel panel = panelOn(monitor, top, x.display());
            const std::string what = std::string(top ? "top" : "bottom") + " panel at x " + std::to_string(monitor.x());
            const Window dock =
                x.createDock(panel.dock.x(), panel.dock.y(), panel.dock.width(), panel.dock.height(), panel.strut);
            ASSERT_NE(dock, 0u) << what;
            QCursor::setPos(panel.click);
            ASSERT_TRUE(processEventsUntil([&] { return QCursor::pos() == panel.click; }));
            // The popover opens as Activate opens it, without the guard against a click that
            // both closes and reopens it.
            tray.openPopover();
            ASSERT_TRUE(processEventsUntil([&] { return tray.popover() && tray.popover()->isVisible(); })) << what;
            // A row that comes while it is open grows it away from the panel.
            for (const bool grown : {false, true}) {
                if (grown) {
                    const int height = tray.popover()->height();
                    state.setBreaksEnabled(true);
                    state.tickBreakTimer();
                    ASSERT_TRUE(processEventsUntil([&] { return tray.popover()->height() > height; })) << what;
                    settle();
                }
                const QRect placed = tray.popover()->geometry();
                if (top) {
                    EXPECT_EQ(placed.top(), panel.dock.bottom() + 1) << what;
                } else {
                    EXPECT_EQ(placed.bottom(), panel.dock.top() - 1) << what;
                }
                // The X server has the window where Qt put it once it has handled Qt's requests.
                const auto serverSide = [&] {
                    const auto onScreen = x.geometry(tray.popover()->winId());
                    return onScreen ? QRect((*onScreen)[0], (*onScreen)[1], (*onScreen)[2], (*onScreen)[3]) : QRect();
                };
                processEventsUntil([&] { return serverSide() == placed; });
                EXPECT_EQ(serverSide(), placed) << what << " as the X server has it";
                EXPECT_TRUE(monitor.contains(placed)) << what;
            }
            state.setBreaksEnabled(false);
            tray.popover()->close();
            ASSERT_TRUE(processEventsUntil([&] { return tray.popover() == nullptr; }));
            x.destroyWindow(dock);
        }
    }
}

// The popover holds the pointer while it is open: the host never hears of a right click on the
// icon, only the popover does.
TEST_F(TraySniTest, ARightClickOnTheIconWhileThePopoverIsOpenClosesItAndOpensTheMenu) {
    if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "xdotool is missing (Debian xdotool)";
    ASSERT_NO_FATAL_FAILURE(startTray());
    SecondClient x;
    const DockPanel panel = panelOn(monitors().back(), true, x.display());
    const Window dock =
        x.createDock(panel.dock.x(), panel.dock.y(), panel.dock.width(), panel.dock.height(), panel.strut);
    ASSERT_NE(dock, 0u);
    TrayIcon& tray = shell->trayIcon();
    int shown = 0;
    QObject::connect(tray.menu(), &QMenu::aboutToShow, [&] { ++shown; });
    bool openedBefore = false;
    const auto openPopover = [&] {
        // Past the guard against a click that both closes the popover and opens it again: the
        // program takes an Activate within 300 ms of the popover's deletion for that click.
        if (openedBefore) {
            if (!processEventsUntil([&] { return tray.popover() == nullptr; })) return false;
            QElapsedTimer gone;
            gone.start();
            processEventsUntil([&] { return gone.elapsed() >= 300; });
        }
        openedBefore = true;
        QCursor::setPos(panel.click);
        processEventsUntil([&] { return QCursor::pos() == panel.click; });
        call("/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", {panel.click.x(), panel.click.y()});
        return processEventsUntil([&] { return tray.popover() && tray.popover()->isVisible(); });
    };
    ASSERT_TRUE(openPopover());
    std::system("xdotool click 3");
    EXPECT_TRUE(processEventsUntil([&] { return tray.menu()->isVisible(); }))
        << "the right click only closed the popover";
    settle();
    EXPECT_TRUE(tray.popover() == nullptr || !tray.popover()->isVisible());
    EXPECT_EQ(tray.menu()->geometry().topLeft(), panel.click);
    EXPECT_EQ(shown, 1);
    tray.menu()->hide();

    // A right click elsewhere on the panel belongs to something else: it only closes the popover.
    ASSERT_TRUE(openPopover());
    std::system(("xdotool mousemove " + std::to_string(panel.click.x() + 100) + " " + std::to_string(panel.click.y()) +
                 " click 3")
                    .c_str());
    EXPECT_TRUE(processEventsUntil([&] { return tray.popover() == nullptr; }));
    // A menu for that press would be queued behind it.
    settle();
    EXPECT_FALSE(tray.menu()->isVisible());

    // A host that hears the click all the same (a Wayland panel over XWayland) asks for the menu.
    ASSERT_TRUE(openPopover());
    call("/StatusNotifierItem", "org.kde.StatusNotifierItem", "ContextMenu", {panel.click.x(), panel.click.y()});
    EXPECT_TRUE(processEventsUntil([&] { return tray.menu()->isVisible(); }));
    EXPECT_TRUE(processEventsUntil([&] { return tray.popover() == nullptr; }));
    settle();
    EXPECT_EQ(shown, 2);
    tray.menu()->hide();
    x.destroyWindow(dock);
}

}  // namespace
}  // namespace solvara::testing

namespace {

pid_t busPid = -1;

void stopBus() {
    if (busPid > 0) {
        kill(busPid, SIGTERM);
        waitpid(busPid, nullptr, 0);
    }
}

int skip(const char* why) {
    std::fprintf(stderr, "x11_tray_sni_tests: SKIPPED: %s\n", why);
    const char* required = std::getenv("SOLVARA_REQUIRE_X11");
    return required && std::string_view(required) == "1" ? 1 : 77;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    tzset();
    ::testing::InitGoogleTest(&argc, argv);
    Display* probe = std::getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    if (!probe) return skip("no X server at DISPLAY; run them through tests/x11/with-xorg.sh");
    XCloseDisplay(probe);

    // A session bus of our own, set before Qt first looks for one.
    char pattern[] = "/tmp/solvara-sni.XXXXXX";
    if (mkdtemp(pattern) == nullptr) return skip("no temporary directory");
    const std::filesystem::path socket = std::filesystem::path(pattern) / "bus";
    const std::string address = "unix:path=" + socket.string();
    int ready[2];
    if (pipe(ready) != 0) return skip("no pipe");
    busPid = fork();
    if (busPid == 0) {
        // Gone with us, however we end; and off our output, which ctest reads to its end.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(ready[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--nopidfile", ("--address=" + address).c_str(),
               ("--print-address=" + std::to_string(ready[1])).c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    // The daemon prints its address once it takes connections; the pipe ends without it when the
    // daemon does.
    bool started = false;
    pollfd readable{ready[0], POLLIN, 0};
    for (char c = 0; !started && poll(&readable, 1, static_cast<int>(solvara::testing::patience.count())) > 0 &&
                     read(ready[0], &c, 1) == 1;) {
        started = c == '\n';
    }
    close(ready[0]);
    if (!started) {
        stopBus();
        return skip("dbus-daemon did not start (Debian dbus)");
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    solvara::testing::busAddress = QString::fromStdString(address);

    int status = 0;
    {
        QApplication application(argc, argv);
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        status = RUN_ALL_TESTS();
    }
    stopBus();
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return status;
}
