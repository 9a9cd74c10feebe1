#pragma once

#include "app/ui/kit/StyledLabel.h"

class QVariantAnimation;

namespace solvara {

// A styled one-line label whose text changes play a short transition while text() already
// answers the new text (a reader, a test or a screen reader never sees the old one). `roll`
// rolls the characters that changed (or moved) upward, the old ones out at the top and the new
// ones in from below, fading, as a counter's digits do; `crossFade` fades the whole old text out
// as the new one fades in. While it plays, the label asks for room for the longer of the two
// texts. Unchanged, it paints as a plain label.
class TransitionLabel : public StyledLabel {
    Q_OBJECT

public:
    enum class Kind { roll, crossFade };

    TransitionLabel(Kind kind, int milliseconds, const QFont& font, ColorRole role, QWidget* parent = nullptr);

    // Shows `text` at once; while the label is on screen and `animate` holds, the change plays.
    void setTextAnimated(const QString& text, bool animate = true);
    QVariantAnimation* animation() const { return animation_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    QString from_;
    QSize fromHint_;  // the size it asked for when the change came
    double progress_ = 1.0;
    QVariantAnimation* animation_;
};

}  // namespace solvara
