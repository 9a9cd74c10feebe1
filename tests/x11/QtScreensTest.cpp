#include "platform/linux/QtScreens.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string_view>

#include <gtest/gtest.h>
#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include "platform/linux/OverlayWidget.h"
#include "platform/linux/RandrDisplays.h"
#include "tests/platform/linux/QtTestApplication.h"
#include "tests/support/LogCapture.h"
#include "tests/x11/ScopedCompositor.h"
#include "tests/x11/SecondClient.h"

// After gtest and Qt: Xlib's macros clash with both.
#include <X11/extensions/shape.h>

namespace solvara {
namespace {

using testing::ScopedCompositor;
using testing::SecondClient;
using testing::waitUntil;

bool compositorRequired() {
    const char* required = std::getenv("SOLVARA_REQUIRE_X11");
    return required && std::string_view(required) == "1";
}

std::vector<OverlayWidget*> visibleOverlays() {
    std::vector<OverlayWidget*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* overlay = dynamic_cast<OverlayWidget*>(widget);
        if (overlay && overlay->isVisible()) found.push_back(overlay);
    }
    return found;
}

// 0xRRGGBB of `top` (straight alpha) composited over the opaque `under`.
struct Rgb {
    double r, g, b;
};
Rgb over(Color top, Rgb under) {
    return {top.red * top.alpha + under.r * (1 - top.alpha), top.green * top.alpha + under.g * (1 - top.alpha),
            top.blue * top.alpha + under.b * (1 - top.alpha)};
}
bool near(std::optional<std::uint32_t> pixel, Rgb expected, int tolerance = 3) {
    if (!pixel) return false;
    const int r = static_cast<int>((*pixel >> 16) & 0xff);
    const int g = static_cast<int>((*pixel >> 8) & 0xff);
    const int b = static_cast<int>(*pixel & 0xff);
    return std::abs(r - static_cast<int>(std::lround(expected.r * 255))) <= tolerance &&
           std::abs(g - static_cast<int>(std::lround(expected.g * 255))) <= tolerance &&
           std::abs(b - static_cast<int>(std::lround(expected.b * 255))) <= tolerance;
}

OverlayWindowSpec overlayFor(const ScreenInfo& screen, int level, Color background, bool shadow) {
    OverlayWindowSpec spec;
    spec.frame = {screen.frame.x - 1, screen.frame.y - 1, screen.frame.width + 2, screen.frame.height + 2};
    spec.level = level;
    spec.background = background;
    spec.hasShadow = shadow;
    return spec;
}

class QtScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(client.isOpen());
        ASSERT_TRUE(client.ensureTwoOutputs());
        ASSERT_FALSE(client.compositorRuns()) << "a compositor was left running";
    }

    SecondClient client;
};

TEST_F(QtScreensTest, ListsEveryScreenPrimaryFirstWithItsRandrDisplayId) {
    QtScreens screens;
    ASSERT_TRUE(waitUntil([&] { return screens.screens().size() == 2; }));
    const std::vector<ScreenInfo> list = screens.screens();
    EXPECT_EQ(list[0].displayId, RandrDisplays::displayId({}, "DUMMY0"));
    EXPECT_EQ(list[0].frame, (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(list[1].displayId, RandrDisplays::displayId({}, "DUMMY1"));
    EXPECT_EQ(list[1].frame, (Rect{1024, 0, 1280, 800}));
    EXPECT_FALSE(list[0].localizedName.empty());
}

TEST_F(QtScreensTest, WithoutACompositorNoOverlayOpensAndThatIsLoggedOnce) {
    testing::LogCapture log;
    QtScreens screens;
    const std::size_t before = client.mappedWindowsAt(10, 10).size();
    const ScreenInfo screen = screens.screens().at(0);
    EXPECT_EQ(screens.createOverlayWindow(overlayFor(screen, 1001, Color::black(0.3), true)), nullptr);
    EXPECT_EQ(screens.createOverlayWindow(overlayFor(screen, 1000, Color{1, 0.45, 0, 0.47}, false)), nullptr);
    // Whatever Qt did meanwhile has reached the server before the second client looks.
    testing::settle();
    XSync(qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display(), False);
    EXPECT_EQ(client.mappedWindowsAt(10, 10).size(), before);
    EXPECT_TRUE(visibleOverlays().empty());
    EXPECT_EQ(log.lines.size(), 1u);
    EXPECT_TRUE(log.contains("No compositing manager"));
}

TEST_F(QtScreensTest, UnderACompositorTheDimmerDarkensTheTintAndOverlaysHideWhenItStops) {
    if (!ScopedCompositor::installed()) {
        if (compositorRequired()) FAIL() << "picom is not installed";
        GTEST_SKIP() << "picom is not installed";
    }
    testing::LogCapture log;
    auto compositor = std::make_unique<ScopedCompositor>(client);
    ASSERT_TRUE(compositor->running());
    const Window white = client.createOpaqueWindow(0, 0, 1024, 768, 0xffffff);
    ASSERT_NE(white, 0u);

    QtScreens screens;
    const ScreenInfo screen = screens.screens().at(0);
    const Color tint{1.0, 0.4546, 0.0, 0.4699};  // the 3400 K tint
    const Color dimmer = Color::black(0.3);
    // Made in the wrong order on purpose: the levels, not the order, put the dimmer on top.
    auto dimmerWindow = screens.createOverlayWindow(overlayFor(screen, 1001, dimmer, true));
    auto tintWindow = screens.createOverlayWindow(overlayFor(screen, 1000, tint, false));
    ASSERT_NE(dimmerWindow, nullptr);
    ASSERT_NE(tintWindow, nullptr);
    EXPECT_EQ(tintWindow->frame(), (Rect{-1, -1, 1026, 770}));

    const Rgb onWhite = over(dimmer, over(tint, {1, 1, 1}));
    EXPECT_TRUE(waitUntil([&] { return near(client.rootPixel(500, 400), onWhite); }))
        << std::hex << client.rootPixel(500, 400).value_or(0);
    // The second screen has no overlay: untouched.
    EXPECT_FALSE(near(client.rootPixel(1500, 400), onWhite));

    // Click-through: the windows take no input anywhere.
    for (OverlayWidget* overlay : visibleOverlays()) {
        int rectangles = -1;
        int ordering = 0;
        XRectangle* shape =
            XShapeGetRectangles(client.display(), overlay->winId(), ShapeInput, &rectangles, &ordering);
        if (shape) XFree(shape);
        EXPECT_EQ(rectangles, 0);
    }

    // Another window mapped on top is pushed back under the overlays, and once they are back in
    // order they stay so (a compositor shows every moment: the tint over the dimmer would flash).
    client.followStacking();
    const Window blue = client.createOpaqueWindow(100, 100, 200, 200, 0x0000ff);
    ASSERT_NE(blue, 0u);
    const Rgb onBlue = over(dimmer, over(tint, {0, 0, 1}));
    EXPECT_TRUE(waitUntil([&] { return near(client.rootPixel(150, 150), onBlue); }))
        << std::hex << client.rootPixel(150, 150).value_or(0);
    testing::settle();
    XSync(qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display(), False);
    std::map<int, Window> byLevel;
    for (OverlayWidget* overlay : visibleOverlays()) {
        byLevel[overlay->property(OverlayWidget::levelProperty).toInt()] = overlay->winId();
    }
    bool inOrder = false;
    for (const std::vector<Window>& order : client.stackingSince()) {
        const auto at = [&](Window window) { return std::find(order.begin(), order.end(), window); };
        const bool tintBelowDimmer = at(byLevel[1000]) < at(byLevel[1001]);
        inOrder = inOrder || (at(blue) < at(byLevel[1000]) && tintBelowDimmer);
        EXPECT_TRUE(!inOrder || tintBelowDimmer) << "the tint went over the dimmer after all was in order";
    }
    EXPECT_TRUE(inOrder);

    // The compositor goes away: an ARGB window would now show opaque, so ours hide.
    compositor->stop();
    EXPECT_TRUE(waitUntil([&] { return visibleOverlays().empty(); }));
    EXPECT_TRUE(log.contains("compositing manager stopped"));
    EXPECT_TRUE(waitUntil([&] { return client.rootPixel(500, 400) == 0xffffffu; }));

    // And come back with the next one.
    compositor = std::make_unique<ScopedCompositor>(client);
    ASSERT_TRUE(compositor->running());
    EXPECT_TRUE(waitUntil([&] { return visibleOverlays().size() == 2; }));
    EXPECT_TRUE(waitUntil([&] { return near(client.rootPixel(500, 400), onWhite); }));

    // Ordered out, a window stays hidden even when the compositor returns.
    tintWindow->orderOut();
    EXPECT_TRUE(waitUntil([&] { return near(client.rootPixel(500, 400), over(dimmer, {1, 1, 1})); }));
    dimmerWindow.reset();
    EXPECT_TRUE(waitUntil([&] { return client.rootPixel(500, 400) == 0xffffffu; }));

    XDestroyWindow(client.display(), white);
    XDestroyWindow(client.display(), blue);
    XSync(client.display(), False);
}

}  // namespace
}  // namespace solvara
