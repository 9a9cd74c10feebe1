#include "app/ui/kit/StateSignals.h"

#include <QMetaObject>

namespace solvara {

StateSignals::StateSignals(AppState& state, QObject* parent) : QObject(parent), state_(state) {
    stateObserver_ = state_.addObserver([this](AppState::Property, AppState::Notice notice) {
        if (notice == AppState::Notice::didChange) schedule(statePending_, &StateSignals::stateChanged);
    });
    breakObserver_ = state_.breakScheduler().addObserver(
        [this](BreakScheduler::Property) { schedule(breakPending_, &StateSignals::breakStateChanged); });
}

StateSignals::~StateSignals() {
    state_.removeObserver(stateObserver_);
    state_.breakScheduler().removeObserver(breakObserver_);
}

void StateSignals::schedule(bool& pending, void (StateSignals::*signal)()) {
    if (pending) return;
    pending = true;
    // Queued on this object: a call still waiting when the bridge is destroyed is dropped.
    QMetaObject::invokeMethod(
        this,
        [this, &pending, signal] {
            pending = false;
            emit(this->*signal)();
        },
        Qt::QueuedConnection);
}

}  // namespace solvara
