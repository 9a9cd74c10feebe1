#include "app/ui/onboarding/PreviewGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace solvara::preview {

namespace {

// Finite and not negative, or 0.
double sane(double value) {
    return std::isfinite(value) && value > 0 ? value : 0;
}

// `rect` moved sideways to lie inside 0..width (its left edge wins when it is wider).
QRectF keptInside(QRectF rect, double width) {
    if (rect.right() > width) rect.moveRight(width);
    if (rect.left() < 0) rect.moveLeft(0);
    return rect;
}

}  // namespace

double progressFillWidth(double width, double step, int steps) {
    if (steps <= 0) return 0;
    return std::clamp(sane(width) * (step + 1) / steps, 0.0, sane(width));
}

QPointF sunCentre(QSizeF size, double phase) {
    const double x = size.width() / 2 + (phase - 0.5) * 200;
    const double y = size.height() / 2 - 30 * std::sin(std::numbers::pi * phase);
    return {x, y};
}

bool sunIsOrange(double phase) {
    return phase >= 0.5;
}

MockScreens mockScreens(QSizeF size, double captionHeight) {
    constexpr double margin = 20;
    constexpr double spacing = 16;
    constexpr double screenHeight = 100;
    constexpr double gap = 6;
    MockScreens screens;
    const double column = (sane(size.width()) - 2 * margin - spacing) / 2;
    if (column <= 0) return screens;
    const double block = screenHeight + gap + captionHeight;
    const double top = (size.height() - block) / 2;
    screens.cold = QRectF(margin, top, column, screenHeight);
    screens.warm = QRectF(margin + column + spacing, top, column, screenHeight);
    screens.coldCaption = QRectF(screens.cold.left(), top + screenHeight + gap, column, captionHeight);
    screens.warmCaption = QRectF(screens.warm.left(), top + screenHeight + gap, column, captionHeight);
    screens.drawable = true;
    return screens;
}

std::vector<QRectF> textBars(const QRectF& screen) {
    constexpr double inset = 12;
    constexpr double height = 8;
    constexpr double spacing = 4;
    const double inner = screen.width() - 2 * inset;
    if (inner <= 0) return {};
    const double top = screen.center().y() - (3 * height + 2 * spacing) / 2;
    const double left = screen.left() + inset;
    return {QRectF(left, top, inner, height), QRectF(left, top + height + spacing, inner, height),
            QRectF(left, top + 2 * (height + spacing), std::min(60.0, inner), height)};
}

double wrappedSleepHour(double wakeHour, double sleepHour) {
    return sleepHour <= wakeHour ? sleepHour + 24 : sleepHour;
}

ScheduleBar scheduleBar(QSizeF size, double wakeHour, double sleepHour, QSizeF wakeText, QSizeF sleepText) {
    ScheduleBar bar;
    const double width = sane(size.width());
    const double height = sane(size.height());
    if (width <= 0 || !std::isfinite(wakeHour) || !std::isfinite(sleepHour)) return bar;
    const double wake = std::clamp(wakeHour, 0.0, 24.0);
    const double sleep = std::clamp(wrappedSleepHour(wake, sleepHour), wake, wake + 24);
    const double wakeX = wake / 24 * width;
    if (sleep <= 24) {
        if (sleep > wake) bar.awake.push_back(QRectF(wakeX, 0, (sleep - wake) / 24 * width, height));
    } else {
        if (wake < 24) bar.awake.push_back(QRectF(wakeX, 0, width - wakeX, height));
        bar.awake.push_back(QRectF(0, 0, (sleep - 24) / 24 * width, height));
    }
    const double sleepX = (sleep <= 24 ? sleep : sleep - 24) / 24 * width;
    const double wakeTop = (height - wakeText.height()) / 2;
    const double sleepTop = (height - sleepText.height()) / 2;
    bar.wakeLabel = keptInside(QRectF(QPointF(wakeX - 10, wakeTop), wakeText), width);
    bar.sleepLabel = keptInside(QRectF(QPointF(sleepX + 10 - sleepText.width(), sleepTop), sleepText), width);
    return bar;
}

}  // namespace solvara::preview
