#pragma once

#include <QAbstractButton>

#include "app/state/AppStateTypes.h"

namespace solvara {

// One cell of the popover's mode grid: the mode's name in the caption style on a rounded tile,
// tinted with the accent colour while the mode is selected. Its accessible name is the mode's
// name, its description "Selected" on the selected cell.
class ModeButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int verticalPadding = 6;
    static constexpr double cornerRadius = 6.0;

    ModeButton(DisplayMode mode, QWidget* parent = nullptr);

    DisplayMode mode() const { return mode_; }
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }

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
};

}  // namespace solvara
