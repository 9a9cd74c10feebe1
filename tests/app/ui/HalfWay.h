#pragma once

#include <cstdlib>

#include <gtest/gtest.h>
#include <QColor>
#include <QImage>

namespace solvara::testing {

// Where the pictures before and after a change differ clearly (by `minSpan` or more in a colour channel), the picture
// half way lies between them, near the middle: the old look and the new are each painted at about half strength.
// Nearly everywhere, not everywhere: where both texts have ink, the one drawn later covers some of the other.
inline void expectHalfWayBetween(const QImage& from, const QImage& halfWay, const QImage& to, int minSpan = 64) {
    ASSERT_EQ(from.size(), to.size());
    ASSERT_EQ(halfWay.size(), to.size());
    int changed = 0;
    int inTheMiddle = 0;
    for (int y = 0; y < to.height(); ++y) {
        for (int x = 0; x < to.width(); ++x) {
            const QColor before = from.pixelColor(x, y);
            const QColor middle = halfWay.pixelColor(x, y);
            const QColor after = to.pixelColor(x, y);
            for (const auto channel : {&QColor::red, &QColor::green, &QColor::blue}) {
                const int span = (after.*channel)() - (before.*channel)();
                if (std::abs(span) < minSpan) continue;
                ++changed;
                const double share = static_cast<double>((middle.*channel)() - (before.*channel)()) / span;
                if (share >= 0.25 && share <= 0.75) ++inTheMiddle;
            }
        }
    }
    ASSERT_GT(changed, 0) << "the change paints nothing new";
    EXPECT_GE(inTheMiddle, changed * 9 / 10) << "of " << changed << " colour channels that change";
}

}  // namespace solvara::testing
