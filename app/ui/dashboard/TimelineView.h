#pragma once

#include <optional>
#include <vector>

#include <QWidget>

#include "app/ui/dashboard/DayTimeline.h"

class QLabel;

namespace solvara {

class AppState;

// Today's 24 hours at the user's place as a strip of coloured twilight phases with a marker at
// the present time, over a row of times: midnight, sunrise, solar noon, sunset, midnight.
// Display only. The runs and times are worked out once per day and place, and the strip
// repaints only when they or the marker's minute change.
class TimelineView : public QWidget {
    Q_OBJECT

public:
    explicit TimelineView(AppState& state, QWidget* parent = nullptr);

    // Moves the marker to the present minute; recomputes the phase runs and labels when the day
    // or the place changed.
    void refresh();

protected:
    void changeEvent(QEvent* event) override;

private:
    class PhaseBar;

    // The local day (its first instant also moves with the time zone) at a place.
    struct DayKey {
        std::optional<Coordinate> coordinate;
        Date startOfDay;

        bool operator==(const DayKey&) const = default;
    };

    AppState& state_;
    std::optional<DayKey> day_;
    dashboard::TimelineLabels times_;
    PhaseBar* bar_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* start_ = nullptr;
    QLabel* sunrise_ = nullptr;
    QLabel* noon_ = nullptr;
    QLabel* sunset_ = nullptr;
    QLabel* end_ = nullptr;
};

}  // namespace solvara
