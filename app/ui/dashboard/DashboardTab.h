#pragma once

#include <QWidget>

namespace solvara {

class AppState;
class CircadianClockView;
class HealthCardView;
class MorningCoachView;
class Picker;
class StateSignals;
class Switch;
class TimeMachinePreviewView;
class TimelineView;
struct UiServices;

// The main window's overview page: on the left the clock dial, the colour temperature and sun
// readouts, the time-machine preview and the mode picker with the filtering switch; on the
// right the day timeline, the morning coach (for three hours from the wake hour) and the
// health card. It writes only the display mode and the filtering switch, from user changes.
class DashboardTab : public QWidget {
    Q_OBJECT

public:
    DashboardTab(AppState& state, UiServices& ui, QWidget* parent = nullptr);

    // Reads the live values, decides whether the coach shows, and refreshes every card.
    void refresh();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class ReadoutCard;

    QWidget* buildLeftColumn();
    QWidget* buildRightColumn();
    // The main window is built at launch and mostly stays hidden: a change it cannot show is
    // left for the next show instead of being drawn into a window nobody sees.
    void refreshWhenShown();

    bool stale_ = false;

    AppState& state_;
    CircadianClockView* dial_ = nullptr;
    ReadoutCard* readout_ = nullptr;
    TimeMachinePreviewView* preview_ = nullptr;
    StateSignals* signals_ = nullptr;
    Picker* modePicker_ = nullptr;
    Switch* enabledSwitch_ = nullptr;
    TimelineView* timeline_ = nullptr;
    MorningCoachView* coach_ = nullptr;
    HealthCardView* healthCard_ = nullptr;
};

}  // namespace solvara
