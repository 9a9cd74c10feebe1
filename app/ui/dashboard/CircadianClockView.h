#pragma once

#include <optional>
#include <string>

#include <QPixmap>
#include <QWidget>

#include "core/solar/Coordinate.h"
#include "core/solar/SolarEvent.h"

class QPainter;

namespace solvara {

class AppState;
struct Theme;

// Today as a 24-hour dial: midnight at the top, time running clockwise; the day's twilight and
// daylight arcs at the user's place, hour ticks, sunrise and sunset markers, a hand and a sun
// or moon at the present time, and the time, phase and colour temperature in the centre.
// Display only: it writes nothing. The present time is read at each refresh and paint.
class CircadianClockView : public QWidget {
    Q_OBJECT

public:
    explicit CircadianClockView(AppState& state, double clockSize = 200, QWidget* parent = nullptr);

    // Repaints and renews what a screen reader is told.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct FaceKey {
        bool dark = false;
        std::optional<Coordinate> coordinate;
        std::string day;
        qreal ratio = 1.0;

        bool operator==(const FaceKey&) const = default;
    };

    void paintFace(QPainter& painter, const Theme& theme, const std::optional<SolarEvent>& events) const;

    AppState& state_;
    double clockSize_;
    FaceKey faceKey_;
    QPixmap face_;
};

}  // namespace solvara
