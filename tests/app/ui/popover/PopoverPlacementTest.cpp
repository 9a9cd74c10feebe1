#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ui/popover/PopoverPlacement.h"
#include "tests/support/LogCapture.h"

// Readable failures: Qt's geometry types live in the global namespace, where gtest looks.
static void PrintTo(const QPoint& point, std::ostream* out) {
    *out << "(" << point.x() << ", " << point.y() << ")";
}
static void PrintTo(const QRect& rect, std::ostream* out) {
    *out << "(" << rect.x() << ", " << rect.y() << " " << rect.width() << "x" << rect.height() << ")";
}

namespace solvara::testing {
namespace {

// Two monitors side by side, as the X tests' server has them.
const std::vector<QRect> monitors{QRect(0, 0, 1280, 800), QRect(1280, 0, 1280, 800)};
const QSize popover(320, 400);

DesktopPanels struts(ScreenEdge edge, QRect rect) {
    DesktopPanels panels;
    panels.struts.push_back({edge, rect});
    return panels;
}
DesktopPanels dock(QRect rect) {
    DesktopPanels panels;
    panels.docks.push_back(rect);
    return panels;
}
DesktopPanels workArea(QRect rect) {
    DesktopPanels panels;
    panels.workArea = rect;
    return panels;
}

TEST(PopoverPlacementTest, ThePopoverOpensBesideThePanelInsideTheClicksMonitor) {
    struct Case {
        std::string what;
        DesktopPanels panels;
        QRect icon;
        QPoint click;
        QPoint expected;
    };
    constexpr ScreenEdge top = ScreenEdge::top;
    for (const Case& c : std::vector<Case>{
             {"below a top panel on the right monitor",
              struts(top, QRect(1280, 0, 1280, 33)),
              {},
              {2000, 16},
              {1840, 33}},
             {"a panel of the right monitor leaves the left one alone",
              struts(top, QRect(1280, 0, 1280, 33)),
              {},
              {600, 16},
              {440, 20}},
             {"above a bottom panel", struts(ScreenEdge::bottom, QRect(0, 767, 1280, 33)), {}, {600, 783}, {440, 367}},
             {"right of a left panel", struts(ScreenEdge::left, QRect(0, 0, 48, 800)), {}, {24, 300}, {48, 304}},
             {"left of a right panel",
              struts(ScreenEdge::right, QRect(2512, 0, 48, 800)),
              {},
              {2536, 300},
              {2192, 304}},
             {"below a dock without struts under the click",
              dock(QRect(1280, 0, 1280, 30)),
              {},
              {2000, 15},
              {1840, 30}},
             {"a dock elsewhere does not count", dock(QRect(0, 0, 1280, 30)), {}, {2000, 15}, {1840, 19}},
             {"a strut over the whole top edge", struts(top, QRect(0, 0, 2560, 24)), {}, {2000, 10}, {1840, 24}},
             {"the work area's top band when no panel says more",
              workArea(QRect(0, 27, 2560, 773)),
              {},
              {2000, 10},
              {1840, 27}},
             {"the work area's bottom band", workArea(QRect(0, 0, 2560, 767)), {}, {2000, 783}, {1840, 367}},
             {"struts that claim most of the monitor are not believed",
              struts(top, QRect(1280, 0, 1280, 700)),
              {},
              {2000, 16},
              {1840, 20}},
             {"centred below a docked icon", struts(top, QRect(1280, 0, 1280, 24)), {1900, 0, 24, 24}, {}, {1751, 28}},
             {"a docked icon at the right edge", {}, {2540, 0, 20, 24}, {}, {2240, 28}},
             {"above a docked icon at the bottom", {}, {600, 776, 24, 24}, {}, {451, 372}},
             {"at the pointer, kept on the monitor", {}, {}, {100, 50}, {0, 54}},
         }) {
        const PopoverPlacement placement(monitors, c.panels, c.icon, c.click);
        EXPECT_EQ(placement.position(popover), c.expected) << c.what;
    }
}

TEST(PopoverPlacementTest, AGrowingPopoverKeepsTheEdgeNextToItsPanelInsideTheWorkArea) {
    struct Case {
        std::string what;
        DesktopPanels panels;
        QRect icon;
        QPoint click;
        QSize grown;
        QRect expected;
    };
    const QSize taller(320, 460);
    for (const Case& c : std::vector<Case>{
             {"below a top panel it grows downwards",
              struts(ScreenEdge::top, QRect(1280, 0, 1280, 33)),
              {},
              {2000, 16},
              taller,
              {1840, 33, 320, 460}},
             {"above a bottom panel it grows upwards",
              struts(ScreenEdge::bottom, QRect(0, 767, 1280, 33)),
              {},
              {600, 783},
              taller,
              {440, 307, 320, 460}},
             {"and shrinks towards it",
              struts(ScreenEdge::bottom, QRect(0, 767, 1280, 33)),
              {},
              {600, 783},
              QSize(320, 300),
              {440, 467, 320, 300}},
             {"above a docked icon at the bottom", {}, {600, 776, 24, 24}, {}, taller, {451, 312, 320, 460}},
             {"taller than the room above a bottom panel: held at the work area's top",
              struts(ScreenEdge::bottom, QRect(0, 767, 1280, 33)),
              {},
              {600, 783},
              QSize(320, 900),
              {440, 0, 320, 900}},
             {"beside a left panel, past the monitor's bottom: moved up into it",
              struts(ScreenEdge::left, QRect(0, 0, 48, 800)),
              {},
              {24, 300},
              QSize(320, 560),
              {48, 240, 320, 560}},
         }) {
        const PopoverPlacement placement(monitors, c.panels, c.icon, c.click);
        const QRect shown(placement.position(popover), popover);
        EXPECT_EQ(QRect(placement.resized(shown, c.grown), c.grown), c.expected) << c.what;
    }
}

TEST(PopoverPlacementTest, ABandCountsOnlyOnTheMonitorWhoseEdgeItsPanelLiesOn) {
    // A tall monitor beside a short one, top edges level or bottom edges level: the space above
    // or below the short one belongs to no monitor.
    const std::vector<QRect> topsLevel{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 800)};
    const std::vector<QRect> bottomsLevel{QRect(0, 0, 1920, 1080), QRect(1920, 280, 1280, 800)};
    struct Case {
        std::string what;
        const std::vector<QRect>& monitors;
        DesktopPanels panels;
        QPoint click;
        QPoint expected;
    };
    const DesktopPanels shortBottom = struts(ScreenEdge::bottom, QRect(0, 760, 3200, 320));
    const DesktopPanels shortTop = struts(ScreenEdge::top, QRect(0, 0, 3200, 304));
    for (const Case& c : std::vector<Case>{
             {"a legacy strut of the short monitor's bottom panel spares the tall one",
              topsLevel,
              shortBottom,
              {1000, 500},
              {840, 504}},
             {"and counts on the short one", topsLevel, shortBottom, {2500, 500}, {2340, 96}},
             {"a legacy strut of the tall monitor's bottom panel",
              topsLevel,
              struts(ScreenEdge::bottom, QRect(0, 1040, 3200, 40)),
              {1000, 650},
              {840, 246}},
             {"the work area's band of the short monitor spares the tall one",
              topsLevel,
              workArea(QRect(0, 0, 3200, 760)),
              {1000, 500},
              {840, 504}},
             {"the work area counts on the short one",
              topsLevel,
              workArea(QRect(0, 0, 3200, 760)),
              {2500, 500},
              {2340, 96}},
             {"a legacy top strut of the lower monitor spares the tall one",
              bottomsLevel,
              shortTop,
              {1000, 100},
              {840, 104}},
             {"and counts on the lower one", bottomsLevel, shortTop, {2500, 290}, {2340, 304}},
         }) {
        const PopoverPlacement placement(c.monitors, c.panels, {}, c.click);
        EXPECT_EQ(placement.position(popover), c.expected) << c.what;
    }
}

TEST(PopoverPlacementTest, DisbelievedStrutsAreLoggedOnce) {
    const LogCapture log;
    const std::vector<QRect> single{QRect(0, 0, 1000, 700)};
    for (int opening = 0; opening < 3; ++opening) {
        const PopoverPlacement placement(single, struts(ScreenEdge::top, QRect(0, 0, 1000, 600)), {}, {500, 10});
        EXPECT_EQ(placement.position(popover), QPoint(340, 14));
    }
    EXPECT_EQ(std::count_if(
                  log.lines.begin(), log.lines.end(),
                  [](const std::string& line) { return line.find("claim most of the monitor") != std::string::npos; }),
              1);
}

TEST(PopoverPlacementTest, ARightPressCountsOnTheIconWithinOnePanelThicknessOfTheClick) {
    struct Case {
        DesktopPanels panels;
        QRect icon;
        QPoint click;
        QRect expected;
    };
    const DesktopPanels topRight = struts(ScreenEdge::top, QRect(1280, 0, 1280, 33));
    for (const Case& c : std::vector<Case>{
             {topRight, {1900, 0, 24, 24}, {}, QRect(1900, 0, 24, 24)},
             {topRight, {}, {2000, 16}, QRect(1984, 0, 33, 33)},
             {struts(ScreenEdge::left, QRect(0, 0, 48, 800)), {}, {24, 300}, QRect(0, 276, 48, 48)},
             {topRight, {}, {600, 16}, QRect()},
             {{}, {}, {2000, 16}, QRect()},
         }) {
        EXPECT_EQ(PopoverPlacement(monitors, c.panels, c.icon, c.click).iconArea(), c.expected)
            << c.click.x() << "," << c.click.y();
    }
}

TEST(PopoverPlacementTest, DevicePixelsBecomeQtCoordinatesOnTheirScreen) {
    struct Case {
        QRect native;
        QRect screen;
        double ratio;
        QRect expected;
    };
    for (const Case& c : std::vector<Case>{
             {QRect(2560, 0, 2560, 66), QRect(2560, 0, 1280, 800), 2.0, QRect(2560, 0, 1280, 33)},
             {QRect(2560, 1534, 2560, 66), QRect(2560, 0, 1280, 800), 2.0, QRect(2560, 767, 1280, 33)},
             {QRect(0, 0, 2560, 24), QRect(1280, 0, 1280, 800), 1.0, QRect(1280, 0, 1280, 24)},
             {QRect(0, 0, 1280, 24), QRect(1280, 0, 1280, 800), 1.0, QRect()},
         }) {
        EXPECT_EQ(PopoverPlacement::fromDevicePixels(c.native, c.screen, c.ratio), c.expected);
    }
}

}  // namespace
}  // namespace solvara::testing
