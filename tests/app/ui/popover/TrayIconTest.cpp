#include <cstddef>
#include <vector>

#include <gtest/gtest.h>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QResizeEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include "app/state/AppState.h"
#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "app/ui/popover/TrayIcon.h"
#include "platform/fake/FakePlatform.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

TEST(TrayIconTest, TheIconIsMadeWhenTheFirstTrayHostRunsAndTheMissingTrayIsSaidOnce) {
    struct Case {
        const char* name;
        bool statusNotifierAtStart;
        bool xembedAtStart;
        bool statusNotifierLater;
        bool xembedLater;
        std::size_t noTrayLines;
    };
    for (const Case& c : std::vector<Case>{{"panel at start", true, false, true, false, 0},
                                           {"XEmbed tray at start", false, true, false, true, 0},
                                           {"panel later", false, false, true, false, 1},
                                           {"XEmbed tray later", false, false, false, true, 1},
                                           {"both later", false, false, true, true, 1}}) {
        SCOPED_TRACE(c.name);
        FakePlatform fakes;
        AppState state(fakes.platform());
        FakeUiServices ui;
        AppActions actions(state, ui.services());
        TrayIcon tray(state, ui.services(), actions);
        ui.trayHosts.statusNotifier = c.statusNotifierAtStart;
        ui.trayHosts.xembed = c.xembedAtStart;
        tray.show();
        // News without a host in it, twice: nothing made, nothing said again.
        for (int i = 0; i < 2; ++i) ui.trayHosts.announce();
        const bool atStart = c.statusNotifierAtStart || c.xembedAtStart;
        EXPECT_EQ(tray.systemTrayIcon() != nullptr, atStart);
        EXPECT_EQ(ui.trayHosts.watching(), !atStart);
        ui.trayHosts.statusNotifier = c.statusNotifierLater;
        ui.trayHosts.xembed = c.xembedLater;
        ui.trayHosts.announce();

        QSystemTrayIcon* icon = tray.systemTrayIcon();
        ASSERT_NE(icon, nullptr);
        EXPECT_TRUE(icon->isVisible());
        EXPECT_FALSE(icon->icon().isNull());
        // The menu came with the icon, before its first show.
        EXPECT_EQ(icon->contextMenu(), tray.menu());
        EXPECT_EQ(fakes.log.count("[Tray] No system tray"), c.noTrayLines);
        // Qt follows later hosts of the kind it chose: the icon is kept, never made twice.
        EXPECT_FALSE(ui.trayHosts.watching());
        ui.trayHosts.statusNotifier = !ui.trayHosts.statusNotifier;
        ui.trayHosts.announce();
        EXPECT_EQ(tray.systemTrayIcon(), icon);
    }
}

TEST(TrayIconTest, AnXEmbedTrayWaitsForTheHostOfARunningWatcher) {
    struct Case {
        const char* name;
        bool hostComes;
    };
    for (const Case& c : std::vector<Case>{{"the host registers", true}, {"no host comes", false}}) {
        SCOPED_TRACE(c.name);
        FakePlatform fakes;
        AppState state(fakes.platform());
        FakeUiServices ui;
        AppActions actions(state, ui.services());
        TrayIcon tray(state, ui.services(), actions);
        ui.trayHosts.xembed = true;
        ui.trayHosts.watcher = true;
        tray.show();
        ui.trayHosts.announce();
        EXPECT_EQ(tray.systemTrayIcon(), nullptr);
        const auto* grace = tray.findChild<QTimer*>("trayHostGrace");
        ASSERT_NE(grace, nullptr);
        EXPECT_TRUE(grace->isActive());
        EXPECT_EQ(grace->interval(), 2500);
        if (c.hostComes) {
            ui.trayHosts.statusNotifier = true;
            ui.trayHosts.announce();
            // Made at once, and only now that Qt finds the host.
            EXPECT_NE(tray.systemTrayIcon(), nullptr);
        }
        SOLVARA_EXPECT_EVENTUALLY(tray.systemTrayIcon() != nullptr);
        EXPECT_FALSE(grace->isActive());
        EXPECT_EQ(fakes.log.count("[Tray] The StatusNotifierWatcher got no host in time"), c.hostComes ? 0U : 1U);
    }
}

// Opened by the tray near either edge of the screen, grown by a row that comes, then closed by
// its own "Open Solvara" and released. While it is destroyed the popover still sends events
// through the tray's filter; the sanitizer run of the tests sees any cast made there.
TEST(TrayIconTest, ThePopoverGrowsAwayFromTheClickAndIsReleasedWhenItCloses) {
    FakePlatform fakes;
    AppState state(fakes.platform());
    FakeUiServices ui;
    AppActions actions(state, ui.services());
    TrayIcon tray(state, ui.services(), actions);
    int openRequests = 0;
    QObject::connect(&tray, &TrayIcon::openMainWindowRequested, [&] { ++openRequests; });
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const bool atBottom : {true, false}) {
        SCOPED_TRACE(atBottom ? "clicked at the bottom" : "clicked at the top");
        QCursor::setPos(screen.center().x(), atBottom ? screen.bottom() - 10 : screen.top() + 10);
        tray.openPopover();
        MenuBarPopover* popover = tray.popover();
        ASSERT_NE(popover, nullptr);
        ASSERT_TRUE(popover->isVisible());
        const QRect opened = popover->geometry();
        state.setBreaksEnabled(true);
        state.tickBreakTimer();
        SOLVARA_EXPECT_EVENTUALLY(popover->height() > opened.height());
        if (atBottom) {
            EXPECT_EQ(popover->geometry().bottom(), opened.bottom());
        } else {
            EXPECT_EQ(popover->y(), opened.y());
        }
        EXPECT_TRUE(screen.contains(popover->geometry()));
        // The window system's own report of the change comes late, measured from the size it
        // last reported: the popover stays where it is.
        const QRect grown = popover->geometry();
        QResizeEvent late(grown.size(), opened.size());
        QCoreApplication::sendEvent(popover, &late);
        EXPECT_EQ(popover->geometry(), grown);

        QTest::mouseClick(popover->findChild<QWidget*>("openButton"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(tray.popover(), nullptr);
        state.setBreaksEnabled(false);
    }
    EXPECT_EQ(openRequests, 2);
}

}  // namespace
}  // namespace solvara::testing
