#pragma once

// Bringing a Qt application's windows to rest, for the tests and the screenshot runner: a check
// or a picture taken then depends on the views alone, not on how fast the machine drew them.

#include <string>
#include <vector>

#include <QAbstractAnimation>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QStyleHints>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace solvara::testing {

// How long a wait may take before the test calls it a fault. Generous: a test waits for its
// condition, however busy the machine, and only a condition that never comes reaches this.
constexpr int patienceMs = 30000;

namespace detail {

// Wakes a blocked event loop now and then, so that a wait can look at conditions that come with
// no event of their own (another process, a file) without spinning.
class Waker {
public:
    Waker() { timer_.start(10); }
    const QObject* object() const { return &timer_; }

private:
    QTimer timer_;
};

// Counts what the application delivers while a settle runs, and sees the settle's own marker
// come through the queue.
class Deliveries : public QObject {
public:
    Deliveries(const QObject& marker, const QObject& waker) : marker_(marker), waker_(waker) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~Deliveries() override { QCoreApplication::instance()->removeEventFilter(this); }
    Deliveries(const Deliveries&) = delete;
    Deliveries& operator=(const Deliveries&) = delete;

    static QEvent::Type markerType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    void startPass() {
        count_ = 0;
        markerSeen_ = false;
    }
    int count() const { return count_; }
    bool markerSeen() const { return markerSeen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &marker_ && event->type() == markerType()) {
            markerSeen_ = true;
        } else if (watched != &waker_) {
            ++count_;
        }
        return false;
    }

private:
    const QObject& marker_;
    const QObject& waker_;
    int count_ = 0;
    bool markerSeen_ = false;
};

inline std::string describe(const QObject& object) {
    return std::string(object.metaObject()->className()) + " \"" + object.objectName().toStdString() + "\"";
}

// What keeps the application's windows from rest, or nothing when they are at rest.
inline std::vector<std::string> stillMoving() {
    std::vector<std::string> moving;
    // Besides the windows: objects of the application's, and the timers of QTimer::singleShot
    // (children of the event dispatcher).
    std::vector<QObject*> roots{QCoreApplication::instance(), QAbstractEventDispatcher::instance()};
    for (QWidget* window : QApplication::topLevelWidgets()) {
        roots.push_back(window);
        if (window->isVisible() && (window->windowHandle() == nullptr || !window->windowHandle()->isExposed())) {
            moving.push_back(describe(*window) + " is shown but not yet exposed");
        }
    }
    // Qt's own deferred work runs on short one-off timers (a combo box resizes to its items 20 ms
    // after they change, an item view lays out on a 0 ms timer); a caret blinks every half second
    // for as long as its field has the focus, and never rests.
    const int blink = QGuiApplication::styleHints()->cursorFlashTime() / 2;
    const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (QObject* root : roots) {
        QList<QObject*> objects = root->findChildren<QObject*>();
        objects.prepend(root);
        for (QObject* object : objects) {
            if (const auto* animation = qobject_cast<QAbstractAnimation*>(object)) {
                if (animation->state() == QAbstractAnimation::Running) moving.push_back(describe(*object) + " runs");
            }
            for (const auto& timer : dispatcher->registeredTimers(object)) {
                if (timer.interval < blink) {
                    moving.push_back(describe(*object) + " has a " + std::to_string(timer.interval) +
                                     " ms timer armed");
                }
            }
        }
    }
    return moving;
}

}  // namespace detail

// Runs the event loop until the application's windows are at rest: every shown window exposed,
// no animation running, no deferred work of Qt's waiting on a timer, the deferred deletions
// done, and a pass through everything queued so far that delivers nothing more (no layout, no
// paint, no queued call). None of it depends on how fast the machine is. Answers nothing at
// rest; after `limitMs` without rest, what still moves.
//
// What it cannot see: it finds animations and timers among the children of the application,
// of the windows and of the event dispatcher, so one without a parent (or under an object
// without one) goes unnoticed, and rest is reported at once while it runs. Every animation and
// timer of the views has a parent today; a test of one that has none waits for its own
// condition. A timer of half the caret's blink or more (500 ms by default) counts as rest too,
// so a check that nothing happens on such a timer watches for it itself.
inline std::vector<std::string> bringToRest(int limitMs = patienceMs) {
    QObject marker;
    const detail::Waker waker;
    detail::Deliveries deliveries(marker, *waker.object());
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        deliveries.startPass();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Posted behind every event queued so far, paint requests (low priority) included.
        QCoreApplication::postEvent(&marker, new QEvent(detail::Deliveries::markerType()), Qt::LowEventPriority);
        while (!deliveries.markerSeen()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
        std::vector<std::string> moving = detail::stillMoving();
        if (deliveries.count() == 0 && moving.empty()) return {};
        if (elapsed.elapsed() >= limitMs) {
            return moving.empty() ? std::vector<std::string>{"events kept coming"} : moving;
        }
        // Something still moves: wait for its next event (the waker bounds the wait).
        if (!moving.empty()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace solvara::testing
