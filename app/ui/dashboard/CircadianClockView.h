#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QPixmap>
#include <QWidget>

#include "core/foundation/Date.h"
#include "core/solar/Coordinate.h"
#include "core/solar/SolarEvent.h"

class QPainter;

namespace solvara {

class AppState;
struct Theme;

// Today as a 24-hour dial: midnight at the top, time running clockwise; the day's twilight and
// daylight arcs at the user's place, hour ticks, sunrise and sunset markers, a hand and a sun
// or moon at the present time, and the time, phase and colour temperature in the centre.
// Display only: it writes nothing. The present time is read at each refresh and paint; a refresh
// repaints only when something the dial shows has changed (the minute, the phase, the
// temperature, the sun above or below the horizon, the face), so the state's ten-second tick
// costs no paint while the window stays open.
class CircadianClockView : public QWidget {
    Q_OBJECT

public:
    explicit CircadianClockView(AppState& state, double clockSize = 200, QWidget* parent = nullptr);

    // Renews what a screen reader is told, and repaints when what the dial shows has changed.
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
    // Everything a paint draws, at the resolution it is drawn.
    struct Shown {
        FaceKey face;
        int minuteOfDay = -1;
        std::string phase;
        std::int64_t kelvin = 0;
        bool day = false;

        bool operator==(const Shown&) const = default;
    };

    FaceKey faceKeyAt(Date now) const;

    void paintFace(QPainter& painter, const Theme& theme, const std::optional<SolarEvent>& events) const;

    AppState& state_;
    double clockSize_;
    FaceKey faceKey_;
    QPixmap face_;
    std::optional<Shown> shown_;
};

}  // namespace solvara
