#pragma once

#include <vector>

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace solvara::preview {

// Where the first-run previews draw their parts, apart from the painting. Sizes in pixels; every
// function answers sensibly (empty rectangles, nothing to draw) for a canvas too small for it.

// The progress bar's fill: (step + 1) / steps of `width`, within 0 and `width`.
double progressFillWidth(double width, double step, int steps);

// The sun of the welcome page at `phase` (0 dawn, 1 dusk) on a canvas of `size`: its centre
// moves (phase - 0.5) x 200 right of the canvas centre and 30 x sin(pi x phase) up.
QPointF sunCentre(QSizeF size, double phase);
// Yellow before noon, orange from noon on.
bool sunIsOrange(double phase);

// The two mock screens of the how-it-works page: two columns between 20-pixel margins, 16 apart,
// each a screen `screenHeight` high and a caption line below it, the pair centred vertically.
struct MockScreens {
    QRectF cold;
    QRectF warm;
    QRectF coldCaption;
    QRectF warmCaption;
    bool drawable = false;  // false: the canvas is narrower than its margins; draw nothing
};
MockScreens mockScreens(QSizeF size, double captionHeight);
// The three text bars of a screen: 8 high, 4 apart, centred, inside a 12-pixel inset; the third
// 60 wide at the leading edge (narrower when the screen is).
std::vector<QRectF> textBars(const QRectF& screen);

// The 24-hour schedule bar. Hours may carry fractions while the bar animates. A bedtime at or
// before the wake hour is taken as the next day's, so the awake span wraps past midnight in two
// pieces instead of running backwards; a bedtime of 24 (or 0 wrapped) ends at the trailing edge.
struct ScheduleBar {
    std::vector<QRectF> awake;  // one piece, or two across midnight; none when the span is empty
    QRectF wakeLabel;           // starts 10 before the span, kept inside the canvas
    QRectF sleepLabel;          // ends 10 after the span, kept inside the canvas
};
// The bedtime the bar draws for `sleepHour` after `wakeHour`: moved a day on when at or before it.
double wrappedSleepHour(double wakeHour, double sleepHour);
ScheduleBar scheduleBar(QSizeF size, double wakeHour, double sleepHour, QSizeF wakeText, QSizeF sleepText);

}  // namespace solvara::preview
