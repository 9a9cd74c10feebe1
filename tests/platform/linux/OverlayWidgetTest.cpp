#include "platform/linux/OverlayWidget.h"

#include <cmath>

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "tests/platform/linux/QtTestApplication.h"

namespace solvara {
namespace {

// Renders the widget alone onto a transparent image and reads straight RGBA back.
class Rendered {
public:
    explicit Rendered(OverlayWidget& widget) : image_(widget.size(), QImage::Format_ARGB32_Premultiplied) {
        image_.fill(Qt::transparent);
        widget.render(&image_, QPoint(), QRegion(), QWidget::DrawChildren);
    }
    Color at(int x, int y) const {
        const QColor c = image_.pixelColor(x, y);
        return {c.redF(), c.greenF(), c.blueF(), c.alphaF()};
    }

private:
    QImage image_;
};

void expectColor(Color actual, Color expected, const char* where) {
    constexpr double step = 2.0 / 255.0;  // 8-bit storage, premultiplied round trip
    EXPECT_NEAR(actual.alpha, expected.alpha, step) << where;
    if (expected.alpha > 0.05) {
        EXPECT_NEAR(actual.red, expected.red, 4 * step) << where;
        EXPECT_NEAR(actual.green, expected.green, 4 * step) << where;
        EXPECT_NEAR(actual.blue, expected.blue, 4 * step) << where;
    }
}

class OverlayWidgetTest : public ::testing::Test {
protected:
    void SetUp() override { testing::qtTestApplication(); }
};

TEST_F(OverlayWidgetTest, ATintWindowIsItsBackgroundEverywhereAndTakesNewColours) {
    OverlayWindowSpec spec;
    spec.frame = {-1, -1, 202, 102};
    spec.level = 1000;
    spec.background = {1.0, 0.4546, 0.0, 0.4699};
    spec.hasShadow = false;
    OverlayWidget widget(spec);
    EXPECT_EQ(widget.geometry(), QRect(-1, -1, 202, 102));
    EXPECT_TRUE(widget.windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(widget.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(widget.windowFlags().testFlag(Qt::NoDropShadowWindowHint));
    EXPECT_EQ(widget.property(OverlayWidget::levelProperty).toInt(), 1000);

    expectColor(Rendered(widget).at(0, 0), spec.background, "corner");
    expectColor(Rendered(widget).at(150, 60), spec.background, "middle");

    widget.setBackground(Color::black(0.85));
    expectColor(Rendered(widget).at(100, 50), Color::black(0.85), "recoloured");
}

TEST_F(OverlayWidgetTest, TheVignetteIsClearInsideItsStartCircleAndRampsToTheLastStopBeyondItsEnd) {
    OverlayWindowSpec spec;
    spec.frame = {0, 0, 400, 200};
    spec.level = 3;
    spec.background = Color::clear();
    RadialGradient gradient;
    gradient.center = {200, 100};
    gradient.startRadius = 40;
    gradient.endRadius = 160;
    gradient.stops = {GradientStop{0.0, Color::black(0.0)}, GradientStop{0.6, Color::black(0.15)},
                      GradientStop{1.0, Color::black(0.5)}};
    spec.drawing = gradient;
    OverlayWidget widget(spec);
    const Rendered image(widget);

    struct Probe {
        int x, y;
    };
    // Points at known distances from the centre, on both axes and a diagonal.
    for (const Probe probe : {Probe{200, 100}, Probe{230, 100}, Probe{200 + 64, 100}, Probe{200 + 112, 100},
                              Probe{200, 100 + 90}, Probe{200 - 150, 100}, Probe{395, 195}, Probe{5, 5}}) {
        const double distance = std::hypot(probe.x + 0.5 - 200.0, probe.y + 0.5 - 100.0);
        const std::string where = "at distance " + std::to_string(distance);
        expectColor(image.at(probe.x, probe.y), gradient.colorAt(distance), where.c_str());
    }
}

TEST_F(OverlayWidgetTest, TheSpotlightLeavesAFullyClearDiscInItsVeil) {
    OverlayWindowSpec spec;
    spec.frame = {0, 0, 400, 300};
    spec.background = Color::clear();
    spec.drawing = SpotlightCutout{Color::black(0.7), Point{0, 0}, 200};
    OverlayWidget widget(spec);
    const Rendered image(widget);
    expectColor(image.at(10, 10), Color::clear(), "inside the disc");
    expectColor(image.at(120, 120), Color::clear(), "inside, near the rim");
    expectColor(image.at(150, 150), Color::black(0.7), "outside the disc");
    expectColor(image.at(399, 299), Color::black(0.7), "far corner");
}

}  // namespace
}  // namespace solvara
