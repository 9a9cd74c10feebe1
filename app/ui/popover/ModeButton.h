#pragma once

#include <QAbstractButton>

#include "app/state/AppStateTypes.h"

class QVariantAnimation;

namespace solvara {

// One cell of the popover's mode grid: the mode's name in the caption style on a rounded tile,
// tinted with the accent colour while the mode is selected. Its accessible name is the mode's
// name, its description "Selected" on the selected cell. A change of selection on screen moves
// the tint from the old cell to the new one over 0.2 s; isSelected() answers at once.
class ModeButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int verticalPadding = 6;
    static constexpr double cornerRadius = 6.0;
    static constexpr int tintMilliseconds = 200;

    ModeButton(DisplayMode mode, QWidget* parent = nullptr);

    DisplayMode mode() const { return mode_; }
    void setSelected(bool selected, bool animated = false);
    bool isSelected() const { return selected_; }
    QVariantAnimation* tintAnimation() const { return tint_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // `font` shrunk only as far as `text` needs to fit `available` pixels, never below 0.8 of
    // its size (what still does not fit is then elided).
    static QFont fittedFont(QFont font, const QString& text, int available);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DisplayMode mode_;
    bool selected_ = false;
    double selection_ = 0.0;  // 0 plain ... 1 tinted, between the two while the tint moves
    QVariantAnimation* tint_;
};

}  // namespace solvara
