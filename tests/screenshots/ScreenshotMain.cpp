// Renders every registered scene light and dark into PNGs (see Screenshots.h). Arguments: the
// output folder (default "screenshots") and optional name filters (a scene is drawn when its
// name contains one of them).

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <vector>

#include <QAbstractAnimation>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFont>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleHints>
#include <QTimer>
#include <QWindow>
#include <QtPlugin>

#include "app/ui/kit/Theme.h"
#include "tests/screenshots/Screenshots.h"

// The charts are a plugin of the program; the screenshots link it in.
Q_IMPORT_PLUGIN(HealthChartsPlugin)

using namespace solvara;

namespace {

// Counts what the application delivers, and sees a marker posted behind everything come through.
class Deliveries : public QObject {
public:
    Deliveries(QObject& marker, const QObject& waker) : marker_(marker), waker_(waker) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~Deliveries() override { QCoreApplication::instance()->removeEventFilter(this); }
    Deliveries(const Deliveries&) = delete;
    Deliveries& operator=(const Deliveries&) = delete;

    static QEvent::Type markerType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    // Posts the marker behind every event queued so far (paint requests included) and runs the
    // loop until it arrives; answers how many other events came first.
    int pass() {
        count_ = 0;
        markerSeen_ = false;
        QCoreApplication::postEvent(&marker_, new QEvent(markerType()), Qt::LowEventPriority);
        while (!markerSeen_) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return count_;
    }

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
    QObject& marker_;
    const QObject& waker_;
    int count_ = 0;
    bool markerSeen_ = false;
};

// What keeps the scene from rest: a window shown but not yet exposed, a running animation, or
// deferred work of Qt's on a short timer (a combo box fits its items 20 ms after they change).
// Empty when at rest.
QString stillMoving() {
    std::vector<QObject*> roots{QCoreApplication::instance(), QAbstractEventDispatcher::instance()};
    for (QWidget* window : QApplication::topLevelWidgets()) {
        roots.push_back(window);
        if (window->isVisible() && (window->windowHandle() == nullptr || !window->windowHandle()->isExposed())) {
            return window->metaObject()->className() + QString(" is not yet exposed");
        }
    }
    // A focused field's caret blinks at this interval for as long as it has the focus.
    const int blink = QGuiApplication::styleHints()->cursorFlashTime() / 2;
    const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (QObject* root : roots) {
        QList<QObject*> objects = root->findChildren<QObject*>();
        objects.prepend(root);
        for (QObject* object : objects) {
            const auto* animation = qobject_cast<QAbstractAnimation*>(object);
            if (animation != nullptr && animation->state() == QAbstractAnimation::Running) {
                return object->metaObject()->className() + QString(" runs");
            }
            for (const auto& timer : dispatcher->registeredTimers(object)) {
                if (timer.interval < blink) return object->metaObject()->className() + QString(" has a timer armed");
            }
        }
    }
    return {};
}

// Runs the event loop until the scene stands still: shown, laid out, every transition played to
// its end, nothing left queued. A picture taken then depends on the view alone, not on how fast
// the machine drew it. Answers what still moves if that never happens.
QString bringToRest() {
    constexpr int limitMs = 30000;
    QObject marker;
    QTimer waker;  // wakes the loop to look again while an animation or a timer runs
    waker.start(10);
    Deliveries deliveries(marker, waker);
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const int delivered = deliveries.pass();
        const QString moving = stillMoving();
        if (delivered == 0 && moving.isEmpty()) return {};
        if (elapsed.elapsed() >= limitMs) return moving.isEmpty() ? QString("events keep coming") : moving;
        if (!moving.isEmpty()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    QApplication::setFont(font);

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString folder = arguments.isEmpty() ? QString("screenshots") : arguments.front();
    const QStringList filters = arguments.mid(1);
    QDir().mkpath(folder);

    int written = 0;
    for (const screenshots::Scene& scene : screenshots::scenes()) {
        const QString name = QString::fromStdString(scene.name);
        if (!filters.isEmpty() &&
            std::none_of(filters.begin(), filters.end(), [&](const QString& f) { return name.contains(f); })) {
            continue;
        }
        for (const bool dark : {false, true}) {
            std::cerr << "screenshots: " << scene.name << (dark ? " dark" : " light") << "\n";
            Theme::applyToApplication(dark);
            screenshots::SceneContext context(dark);
            std::unique_ptr<QWidget> widget = scene.build(context);
            if (!widget) continue;
            Theme::apply(widget.get(), dark);
            widget->setAutoFillBackground(true);
            int height = scene.size.height();
            if (height <= 0) {
                widget->setFixedWidth(scene.size.width());
                widget->ensurePolished();
                height = widget->hasHeightForWidth() ? widget->heightForWidth(scene.size.width())
                                                     : widget->sizeHint().height();
            }
            widget->resize(scene.size.width(), height);
            widget->show();
            QString moving = bringToRest();
            if (moving.isEmpty() && scene.size.height() <= 0) {
                // The layout has settled: take its final height.
                widget->adjustSize();
                widget->resize(scene.size.width(), widget->height());
                moving = bringToRest();
            }
            if (!moving.isEmpty()) {
                std::cerr << "screenshots: " << scene.name << " never comes to rest: " << moving.toStdString() << "\n";
                return 1;
            }
            const QString path = folder + "/" + name + (dark ? "-dark.png" : "-light.png");
            if (!widget->grab().save(path)) {
                std::cerr << "screenshots: cannot write " << path.toStdString() << "\n";
                return 1;
            }
            ++written;
            // Everything the scene made goes before its state does: widgets deleted later and
            // windows of their own would otherwise hear the next scene's palette change and read a
            // state that is gone.
            widget.reset();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QList<QPointer<QWidget>> leftovers;
            for (QWidget* leftover : QApplication::topLevelWidgets()) leftovers << leftover;
            for (const QPointer<QWidget>& leftover : leftovers) delete leftover.data();  // a parent may take its child
            QCoreApplication::processEvents();
        }
    }
    std::cout << "screenshots: " << written << " pictures in " << folder.toStdString() << "\n";
    return 0;
}
