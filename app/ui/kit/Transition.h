#pragma once

#include <functional>
#include <utility>

#include <QEasingCurve>
#include <QGraphicsEffect>
#include <QPixmap>
#include <QPointer>

class QVariantAnimation;

namespace solvara {

// The design's named animation curves in Qt's terms.
namespace motion {
// "Ease in and out": the cubic Bézier through (0.42, 0) and (0.58, 1), slow at both ends.
QEasingCurve easeInOut();
// The "default" animation: that curve over 0.35 s.
inline constexpr int defaultMilliseconds = 350;
// A progress from 0 to 1 along easeInOut, owned by `widget`, which repaints at every step:
// `frame` takes each step's progress, and 1 once more when the animation ends or is stopped at
// its end. Set the duration before each start.
QVariantAnimation* progressAnimation(QWidget* widget, std::function<void(double)> frame);
}  // namespace motion

// Draws its widget at an opacity, scaled about its centre and shifted, while the widget's
// geometry stays where its layout put it: a transition changes only what is painted. It may
// draw `margins` beyond the widget's own rectangle (a row sliding in from above), or, clipped,
// nothing outside it (a block sliding out from under a header).
class TransitionEffect : public QGraphicsEffect {
public:
    explicit TransitionEffect(QObject* parent = nullptr);

    void setFrame(double opacity, QPointF offset, double scale);
    double opacity() const { return opacity_; }
    QPointF offset() const { return offset_; }
    double scale() const { return scale_; }
    void setMargins(const QMarginsF& margins);
    void setClipped(bool clipped);
    // Draws only within the rectangle `room` answers, in the widget's coordinates, asked at every
    // paint (a picture that rows moving over its place must not show through).
    void setRoom(std::function<QRectF()> room);
    // Draws `picture` (a still of the widget taken as the transition began) in place of the
    // widget itself, so that a frame costs one blit however much the widget holds.
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }

    QRectF boundingRectFor(const QRectF& rect) const override;

protected:
    void draw(QPainter* painter) override;

private:
    double opacity_ = 1.0;
    QPointF offset_;
    double scale_ = 1.0;
    QMarginsF margins_;
    bool clipped_ = false;
    std::function<QRectF()> room_;
    QPixmap picture_;
};

// How a widget enters and leaves: a fade, a move from and to the top edge (by its own height),
// a scale from (nearly) nothing about its centre, in any combination.
struct TransitionStyle {
    int milliseconds = motion::defaultMilliseconds;
    bool fade = true;
    bool moveFromTop = false;
    bool scale = false;
};

// The enter and leave transitions of one widget, and its slide to a new place in its layout.
// Showing and hiding happen at once, so whoever reads the widget sees its final state; only the
// painting follows. An entering widget is drawn through a TransitionEffect; a leaving one is
// hidden and a picture of it plays the transition backwards and is then deleted. Once a
// transition ends nothing stays behind: no effect, no picture, no running animation.
// Owned by the widget it moves.
class WidgetTransition : public QObject {
public:
    WidgetTransition(QWidget* target, TransitionStyle style);
    // A picture still leaving goes with it (it belongs to the target's parent).
    ~WidgetTransition() override;

    // Shows or hides the target; `animated` plays the change (only worth it while on screen).
    void setShown(bool shown, bool animated);
    // The target has just moved by `moved` in its layout: it is drawn from its old place to the
    // new one over `milliseconds`.
    void slide(QPoint moved, int milliseconds);
    // Where a leaving picture may draw, in the parent's coordinates, asked at every frame: a
    // block closing under the rows that move up over its place is covered by them, not under them.
    void setLeavingRoom(std::function<QRect()> room) { leavingRoom_ = std::move(room); }

    bool isRunning() const;
    // The picture of the leaving widget, while it leaves.
    QWidget* ghost() const { return ghost_; }
    QVariantAnimation* presenceAnimation() const { return presence_; }
    QVariantAnimation* slideAnimation() const { return slider_; }

private:
    void applyFrame();
    void finish();
    TransitionEffect* effectOn(QWidget* widget);

    QWidget* target_;
    TransitionStyle style_;
    QVariantAnimation* presence_;  // 0 gone ... 1 shown
    QVariantAnimation* slider_;    // the offset still to go, in pixels
    QPointer<QWidget> ghost_;
    std::function<QRect()> leavingRoom_;
    double shown_ = 1.0;
    QPointF slideOffset_;
    QPoint slideStart_;
};

}  // namespace solvara
