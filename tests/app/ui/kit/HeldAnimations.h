#pragma once

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>
#include <QAbstractAnimation>
#include <QMetaObject>
#include <QPointer>

#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {

// Runs the calls queued so far (a view refreshes on a queued call after the state changes),
// then pauses every animation then running under `root`, where it stands: one the refresh
// started stands at its first frame, since no frame can come between the refresh and the pause
// (both run in one pass of the posted events; frames come on a timer). A check of what a change plays
// sees the animations as the change left them, however slow the machine; a frame that came
// first, or a stall that let a short animation end on its first frame, would hide them.
// Destroying the hold, or release(), lets them play on.
class HeldAnimations {
public:
    explicit HeldAnimations(const QObject& root) {
        bool held = false;
        QObject context;
        QMetaObject::invokeMethod(
            &context,
            [&] {
                for (QAbstractAnimation* animation : root.findChildren<QAbstractAnimation*>()) {
                    if (animation->state() == QAbstractAnimation::Running) held_.emplace_back(animation);
                }
                // A group pauses its running part with it.
                for (const QPointer<QAbstractAnimation>& animation : held_) {
                    if (animation->group() == nullptr) animation->pause();
                }
                held = true;
            },
            Qt::QueuedConnection);
        EXPECT_TRUE(processEventsUntil([&] { return held; })) << "the queue never reached the hold";
    }
    ~HeldAnimations() { release(); }
    HeldAnimations(const HeldAnimations&) = delete;
    HeldAnimations& operator=(const HeldAnimations&) = delete;

    // The animations held (groups and their running parts), in the order of the objects under the root.
    std::vector<QAbstractAnimation*> animations() const {
        std::vector<QAbstractAnimation*> all;
        for (const QPointer<QAbstractAnimation>& animation : held_) {
            if (animation) all.push_back(animation.data());
        }
        return all;
    }
    bool holds(const QAbstractAnimation* animation) const {
        return animation != nullptr &&
               std::any_of(held_.begin(), held_.end(), [&](const auto& held) { return held.data() == animation; });
    }
    // Lets those still paused where the hold left them play on.
    void release() {
        for (const QPointer<QAbstractAnimation>& animation : held_) {
            if (animation && animation->group() == nullptr && animation->state() == QAbstractAnimation::Paused) {
                animation->resume();
            }
        }
        held_.clear();
    }

private:
    std::vector<QPointer<QAbstractAnimation>> held_;
};

}  // namespace solvara::testing
