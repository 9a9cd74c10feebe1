#pragma once

#include <algorithm>
#include <vector>

#include <QAbstractAnimation>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "app/ui/breaks/BreathingCircle.h"
#include "app/ui/onboarding/OnboardingPreviews.h"

namespace solvara::testing {

// The first-run flow's sun and its before-and-after screens, and a break's breathing circle, move
// for as long as they are shown, so a window that shows one never comes to rest. While one of
// these lives, each such view stands still: those moving now, and those that start meanwhile (a
// page, or the whole sheet, shown by a posted event) as they start. At its end they move on from
// where they stood.
class HeldLoops : public QObject {
public:
    explicit HeldLoops(QObject* parent = nullptr) : QObject(parent) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            hold(window);
            for (QWidget* widget : window->findChildren<QWidget*>()) hold(widget);
        }
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~HeldLoops() override {
        QCoreApplication::instance()->removeEventFilter(this);
        for (const QPointer<QAbstractAnimation>& animation : held_) {
            if (animation.isNull()) continue;
            disconnect(animation, nullptr, this, nullptr);
            // Nothing else pauses them: a paused one is one held here and still shown.
            if (animation->state() == QAbstractAnimation::Paused) animation->resume();
        }
    }
    HeldLoops(const HeldLoops&) = delete;
    HeldLoops& operator=(const HeldLoops&) = delete;

    // Whether `object` is one of the views that never come to rest.
    static bool loops(const QObject* object) {
        return dynamic_cast<const SunAnimationView*>(object) != nullptr ||
               dynamic_cast<const BeforeAfterPreview*>(object) != nullptr ||
               dynamic_cast<const BreathingCircle*>(object) != nullptr;
    }

protected:
    // Such a view starts moving when it is shown; the show reaches this filter before the view.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) hold(static_cast<QWidget*>(watched));
        return false;
    }

private:
    void hold(QWidget* widget) {
        if (!loops(widget)) return;
        for (QAbstractAnimation* animation : widget->findChildren<QAbstractAnimation*>(Qt::FindDirectChildrenOnly)) {
            if (std::find(held_.begin(), held_.end(), animation) != held_.end()) continue;
            held_.emplace_back(animation);
            connect(animation, &QAbstractAnimation::stateChanged, this, [animation](QAbstractAnimation::State state) {
                if (state == QAbstractAnimation::Running) animation->pause();
            });
            if (animation->state() == QAbstractAnimation::Running) animation->pause();
        }
    }

    std::vector<QPointer<QAbstractAnimation>> held_;
};

}  // namespace solvara::testing
