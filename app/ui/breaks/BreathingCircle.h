#pragma once

#include <cstdint>

#include <QColor>
#include <QWidget>

class QSequentialAnimationGroup;

namespace solvara {

// The breathing layout's circle: a cyan radial glow, 160 points across, that grows from 0.6 of
// its size to full size in 4 seconds and shrinks back in the next 4, easing in and out, for as
// long as it is on screen. A new countdown leaves the breath where it is.
class BreathingCircle : public QWidget {
public:
    static constexpr int diameter = 160;
    static constexpr double smallestScale = 0.6;
    static constexpr int halfBreathMilliseconds = 4000;

    BreathingCircle(std::int64_t remainingSeconds, QColor cyan, QWidget* parent = nullptr);
    ~BreathingCircle() override;

    void setRemainingSeconds(std::int64_t seconds) { remainingSeconds_ = seconds; }
    std::int64_t remainingSeconds() const { return remainingSeconds_; }
    double scale() const { return scale_; }
    bool isBreathing() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::int64_t remainingSeconds_;
    QColor cyan_;
    double scale_ = smallestScale;
    QSequentialAnimationGroup* breath_;  // a child, so that its running half is found under the circle
};

}  // namespace solvara
