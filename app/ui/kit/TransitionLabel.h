#pragma once

#include "app/ui/kit/StyledLabel.h"

class QVariantAnimation;

namespace solvara {

// A styled one-line label whose text changes play a short transition while text() already
// answers the new text (a reader, a test or a screen reader never sees the old one). `roll`
// rolls only the characters that changed upward, the old ones out at the top and the new ones
// in from below, fading, as a counter's digits do; `crossFade` fades the whole old text out as
// the new one fades in. Unchanged, it paints as a plain label.
class TransitionLabel : public StyledLabel {
    Q_OBJECT

public:
    enum class Kind { roll, crossFade };

    TransitionLabel(Kind kind, int milliseconds, const QFont& font, ColorRole role, QWidget* parent = nullptr);

    // Shows `text` at once; while the label is on screen and `animate` holds, the change plays.
    void setTextAnimated(const QString& text, bool animate = true);
    QVariantAnimation* animation() const { return animation_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    QString from_;
    double progress_ = 1.0;
    QVariantAnimation* animation_;
};

}  // namespace solvara
