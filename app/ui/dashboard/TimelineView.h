#pragma once

#include <vector>

#include <QWidget>

#include "app/ui/dashboard/DayTimeline.h"

class QLabel;

namespace solvara {

class AppState;

// Today's 24 hours at the user's place as a strip of coloured twilight phases with a marker at
// the present time, over a row of times: midnight, sunrise, solar noon, sunset, midnight.
// Display only.
class TimelineView : public QWidget {
    Q_OBJECT

public:
    explicit TimelineView(AppState& state, QWidget* parent = nullptr);

    // Recomputes the phase runs and labels for the present day and place.
    void refresh();

protected:
    void changeEvent(QEvent* event) override;

private:
    class PhaseBar;

    AppState& state_;
    PhaseBar* bar_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* start_ = nullptr;
    QLabel* sunrise_ = nullptr;
    QLabel* noon_ = nullptr;
    QLabel* sunset_ = nullptr;
    QLabel* end_ = nullptr;
};

}  // namespace solvara
