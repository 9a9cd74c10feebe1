#pragma once

#include <QAbstractButton>

namespace solvara {

// The break window's "Skip" button: an "xmark" and the word, in white at 0.7 on a faint white
// capsule, with no bezel of the platform's own.
class BreakSkipButton : public QAbstractButton {
public:
    static constexpr int horizontalPadding = 16;
    static constexpr int verticalPadding = 8;
    static constexpr int spacing = 4;

    explicit BreakSkipButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString glyph_;
};

}  // namespace solvara
