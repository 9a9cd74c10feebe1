#pragma once

#include <QObject>

#include "app/state/AppState.h"
#include "core/health/BreakScheduler.h"

namespace solvara {

// The Qt side of the state's change notices: every did-change notice of the state and every
// change of its break scheduler arrive here synchronously, and come out as one Qt signal each on
// the next turn of the event loop, however many arrived meanwhile. A tick that changes ten
// properties refreshes a view once, and a view never refreshes inside a setter's call.
//
// Views connect their one refresh() to both signals. Destroying the bridge stops both (it
// removes its observers); it must not outlive the state.
class StateSignals : public QObject {
    Q_OBJECT

public:
    explicit StateSignals(AppState& state, QObject* parent = nullptr);
    ~StateSignals() override;

    StateSignals(const StateSignals&) = delete;
    StateSignals& operator=(const StateSignals&) = delete;

    AppState& state() const { return state_; }

signals:
    // A property of the state changed (coalesced).
    void stateChanged();
    // The break scheduler's state, rule or counters changed (coalesced).
    void breakStateChanged();

private:
    void schedule(bool& pending, void (StateSignals::*signal)());

    AppState& state_;
    AppState::ObserverId stateObserver_ = 0;
    BreakScheduler::ObserverId breakObserver_ = 0;
    bool statePending_ = false;
    bool breakPending_ = false;
};

}  // namespace solvara
