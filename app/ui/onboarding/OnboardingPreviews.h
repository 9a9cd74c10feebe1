#pragma once

#include <QWidget>

class QVariantAnimation;

namespace solvara {

// The small animated pictures of the first-run pages. They read nothing from the state; the two
// that move run only while they are shown and start afresh at each showing.

// A sun travelling from dawn to dusk over a horizon line, once every 4 seconds.
class SunAnimationView : public QWidget {
    Q_OBJECT

public:
    explicit SunAnimationView(QWidget* parent = nullptr);

    double phase() const { return phase_; }
    bool isRunning() const;
    QSize sizeHint() const override { return {300, 100}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QVariantAnimation* animation_;
    double phase_ = 0;
};

// A cold white mock screen beside a warm one that slowly pulses in and out of full strength.
class BeforeAfterPreview : public QWidget {
    Q_OBJECT

public:
    explicit BeforeAfterPreview(QWidget* parent = nullptr);

    // 0: the warm screen at half strength and 95 % size; 1: full.
    double warmth() const { return warmth_; }
    bool isRunning() const;
    QSize sizeHint() const override { return {400, 180}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QVariantAnimation* animation_;
    double warmth_ = 0;
};

// A 24-hour bar with the awake span between the wake and sleep hours; a change slides the span
// to its new place.
class SchedulePreview : public QWidget {
    Q_OBJECT

public:
    explicit SchedulePreview(QWidget* parent = nullptr);

    void setHours(int wakeHour, int sleepHour);
    QSize sizeHint() const override { return {400, 40}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void describe();

    QVariantAnimation* animation_;
    int wakeHour_ = -1;
    int sleepHour_ = -1;
    // The hours drawn now (the sleep hour wrapped past the wake hour), between two settings while
    // the span slides.
    double shownWake_ = 0;
    double shownSleep_ = 0;
};

}  // namespace solvara
