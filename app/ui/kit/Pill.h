#pragma once

#include <QWidget>

#include "app/ui/kit/Theme.h"

class QVariantAnimation;

namespace solvara {

// A short text on a capsule: the text in a theme colour, the capsule in a theme colour at an
// opacity (by default the secondary colour at 0.1), padded 4 pixels left and right and 2 above
// and below. Its accessible name is its text. A new text takes its place at once; given a
// duration while on screen, the old text fades out as the new one fades in while the capsule
// goes from the old text's width to the new one's (at once otherwise).
class Pill : public QWidget {
    Q_OBJECT

public:
    using ColorRole = QColor Theme::*;

    Pill(const QString& text, const QFont& font, QWidget* parent = nullptr);

    void setText(const QString& text, int milliseconds = 0);
    QString text() const { return text_; }
    void setColors(ColorRole text, ColorRole fill, double fillOpacity);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr int horizontalPadding = 4;
    static constexpr int verticalPadding = 2;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    ColorRole textColor_ = &Theme::secondary;
    ColorRole fill_ = &Theme::secondary;
    double fillOpacity_ = 0.1;
    QString from_;
    int fromWidth_ = 0;
    double progress_ = 1.0;
    QVariantAnimation* animation_;
};

}  // namespace solvara
