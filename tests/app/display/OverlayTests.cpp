#include <gtest/gtest.h>

#include "DisplayTestSupport.h"
#include "app/display/ColorOverlay.h"
#include "app/display/SoftwareDimmer.h"
#include "app/display/SpotlightOverlayView.h"
#include "app/display/VignetteDimmer.h"

namespace solvara::testing {
namespace {

class OverlayTest : public DisplayTest {};

TEST_F(OverlayTest, TintFollowsTheBlackBodyUpTo65PercentAlpha) {
    ColorOverlay overlay(fake.screens);
    struct Case {
        std::int64_t kelvin;
        double green, alpha;
    } cases[] = {{1800, 0.4956, 0.65}, {2700, 0.4733, 0.65}, {3400, 0.4546, 0.4699}, {4500, 0.4455, 0.265},
                 {6000, 0.5126, 0.0712}, {1200, 0.4956, 0.65}};
    for (const auto& c : cases) {
        const Color tint = overlay.tintColor(c.kelvin);
        EXPECT_EQ(tint.red, 1.0) << c.kelvin;
        EXPECT_NEAR(tint.green, c.green, 1e-4) << c.kelvin;
        EXPECT_EQ(tint.blue, 0.0) << c.kelvin;
        EXPECT_NEAR(tint.alpha, c.alpha, 1e-4) << c.kelvin;
    }
}

TEST_F(OverlayTest, OneTintWindowPerScreenRecolouredUntilNearNeutral) {
    ColorOverlay overlay(fake.screens);
    overlay.deactivate();  // nothing to do
    overlay.applyColorTemperature(1200);
    EXPECT_EQ(overlay.currentKelvin(), 1800);
    auto windows = fake.screens.visibleWindows();
    ASSERT_EQ(windows.size(), 2u);
    const auto& spec = windows[0]->spec;
    EXPECT_EQ(spec.frame, (Rect{-1, -1, 1922, 1082}));
    EXPECT_EQ(spec.level, 1000);
    EXPECT_FALSE(spec.hasShadow);
    EXPECT_TRUE(spec.ignoresMouse);
    EXPECT_EQ(spec.collectionBehavior, 17);
    EXPECT_EQ(windows[1]->spec.frame, (Rect{1919, -1, 1282, 802}));

    overlay.applyColorTemperature(3400);
    EXPECT_EQ(fake.screens.windows.size(), 2u);  // recoloured, not recreated
    EXPECT_NEAR(windows[0]->background.alpha, 0.4699, 1e-4);

    overlay.applyColorTemperature(6399);
    EXPECT_NEAR(windows[1]->background.alpha, 0.03, 0.01);

    overlay.applyColorTemperature(6400);
    EXPECT_EQ(overlay.currentKelvin(), 6400);
    EXPECT_TRUE(fake.screens.visibleWindows().empty());

    overlay.applyColorTemperature(3000);
    overlay.applyColorTemperature(7000);
    EXPECT_EQ(overlay.currentKelvin(), 6500);
    EXPECT_TRUE(fake.screens.visibleWindows().empty());
    EXPECT_EQ(fake.screens.closedWithoutOrderOut(), 0u);
}

TEST_F(OverlayTest, ScreensWithoutAnIdOrSharingOneNeverLoseAWindow) {
    fake.screens.screenList = {ScreenInfo{std::nullopt, "A", {0, 0, 800, 600}},
                               ScreenInfo{std::nullopt, "B", {800, 0, 800, 600}},
                               ScreenInfo{7, "C", {0, 600, 800, 600}}, ScreenInfo{7, "C again", {800, 600, 800, 600}}};
    ColorOverlay overlay(fake.screens);
    overlay.applyColorTemperature(3000);
    EXPECT_EQ(overlay.overlayWindows().size(), 3u);
    EXPECT_EQ(fake.screens.windows.size(), 4u);
    // The window displaced by the second screen with id 7 was ordered out, not left showing.
    EXPECT_EQ(fake.screens.visibleWindows().size(), 3u);
    EXPECT_EQ(fake.screens.closedWithoutOrderOut(), 0u);

    SoftwareDimmer dimmer(fake.screens);
    dimmer.activate(0.5);
    EXPECT_EQ(dimmer.overlayWindows().size(), 3u);
}

TEST_F(OverlayTest, WithoutCompositingNoWindowIsKept) {
    fake.screens.overlaysAvailable = false;
    ColorOverlay overlay(fake.screens);
    overlay.applyColorTemperature(3000);
    EXPECT_TRUE(overlay.overlayWindows().empty());
    SoftwareDimmer dimmer(fake.screens);
    dimmer.activate(0.5);
    EXPECT_TRUE(dimmer.overlayWindows().empty());
    VignetteDimmer vignette(fake.screens);
    vignette.activate();
    EXPECT_TRUE(vignette.overlayWindows().empty());
}

TEST_F(OverlayTest, DimmerCapsOpacityAndRebuildsOnActivation) {
    SoftwareDimmer dimmer(fake.screens);
    dimmer.activate(1.0);
    auto first = fake.screens.visibleWindows();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0]->spec.level, 1001);
    EXPECT_TRUE(first[0]->spec.hasShadow);
    EXPECT_EQ(first[0]->background, Color::black(0.85));

    dimmer.updateOpacity(0.2);
    EXPECT_EQ(first[1]->background, Color::black(0.2));
    EXPECT_EQ(fake.screens.windows.size(), 2u);

    dimmer.activate(0.6);
    EXPECT_FALSE(first[0]->visible());
    EXPECT_EQ(fake.screens.visibleWindows().size(), 2u);
    EXPECT_EQ(fake.screens.visibleWindows()[0]->background, Color::black(0.6));

    const double hostile[] = {-1.0, std::nan("")};
    for (double opacity : hostile) {
        dimmer.updateOpacity(opacity);
        EXPECT_EQ(fake.screens.visibleWindows()[0]->background, Color::black(0.0));
    }
    dimmer.deactivate();
    EXPECT_TRUE(fake.screens.visibleWindows().empty());
    EXPECT_EQ(fake.screens.closedWithoutOrderOut(), 0u);
}

TEST_F(OverlayTest, VignetteGradientClearInsideDarkBeyond) {
    VignetteOverlayView view({0, 0, 1920, 1080});  // radius 0.6, opacity 0.5
    const auto g = view.gradient();
    EXPECT_EQ(g.center, (Point{960, 540}));
    EXPECT_DOUBLE_EQ(g.startRadius, 576);
    EXPECT_DOUBLE_EQ(g.endRadius, 1440);
    EXPECT_EQ(g.colorAt(575).alpha, 0.0);
    EXPECT_NEAR(g.colorAt(576 + 0.6 * 864).alpha, 0.15, 1e-9);
    EXPECT_DOUBLE_EQ(g.colorAt(1440).alpha, 0.5);
    EXPECT_DOUBLE_EQ(g.colorAt(3000).alpha, 0.5);

    view.setVignetteRadius(0);
    EXPECT_EQ(view.gradient().startRadius, 0);
    view.setVignetteOpacity(1.5);  // not capped
    EXPECT_DOUBLE_EQ(view.gradient().colorAt(2000).alpha, 1.5);
}

TEST_F(OverlayTest, VignetteActivationRebuildsAndLiveViewsRedraw) {
    VignetteDimmer vignette(fake.screens);
    vignette.radius = 0.4;
    vignette.opacity = 0.8;
    vignette.activate();
    auto first = fake.screens.visibleWindows(3);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0]->background, Color::clear());
    EXPECT_EQ(std::get<RadialGradient>(first[0]->drawing).startRadius, 1922 * 0.4 * 0.5);
    EXPECT_DOUBLE_EQ(std::get<RadialGradient>(first[0]->drawing).stops[2].color.alpha, 0.8);

    auto& view = *vignette.overlayWindows()[1].view;
    view.setVignetteOpacity(0.3);
    EXPECT_EQ(std::get<RadialGradient>(first[1]->drawing), view.gradient());
    EXPECT_DOUBLE_EQ(std::get<RadialGradient>(first[1]->drawing).stops[2].color.alpha, 0.3);

    vignette.activate();  // re-activation: old windows out, fresh ones in
    EXPECT_FALSE(first[0]->visible());
    EXPECT_FALSE(first[1]->visible());
    EXPECT_EQ(fake.screens.visibleWindows(3).size(), 2u);
    vignette.deactivate();
    vignette.deactivate();
    EXPECT_TRUE(fake.screens.visibleWindows().empty());
    EXPECT_EQ(fake.screens.closedWithoutOrderOut(), 0u);
}

TEST_F(OverlayTest, SpotlightDefaultsLeaveAClearDiscAtTheOrigin) {
    SpotlightOverlayView view({0, 0, 1920, 1080});
    const auto d = view.drawing();
    EXPECT_EQ(d.colorAt({0, 0}), Color::clear());
    EXPECT_EQ(d.colorAt({199, 0}), Color::clear());
    EXPECT_EQ(d.colorAt({150, 150}), Color::black(0.7));
    EXPECT_EQ(d.colorAt({1000, 500}), Color::black(0.7));
}

}  // namespace
}  // namespace solvara::testing
