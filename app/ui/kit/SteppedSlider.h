#pragma once

#include <functional>

#include <QWidget>

class QSlider;

namespace solvara {

class StyledLabel;

// A slider over evenly spaced steps (value = minimum + index x step) with a label that shows the
// value. A user's move emits valueChanged() with a step value only; setValue() from a refresh
// may show a value that lies between the steps (a stored 4321 K on a 100 K slider shows "4321K"
// with the knob at the nearest step) and emits nothing. Values outside the range put the knob
// at the end. Keyboard: the arrows move one step, Page Up/Down ten.
//
// The inner QSlider carries the accessible name (give one: a screen reader's "set value" lands
// on it) and the objectName "<objectName of this>Slider"; the label follows the value, and the
// slider's accessible description always says what the label shows, since the slider's own
// value is a step index.
class SteppedSlider : public QWidget {
    Q_OBJECT

public:
    using Formatter = std::function<QString(double value)>;

    SteppedSlider(double minimum, double maximum, double step, Formatter format, QWidget* parent = nullptr);

    // Shows `value` as it is; the knob goes to the nearest step. Emits nothing.
    void setValue(double value);
    double value() const { return value_; }
    double minimum() const { return minimum_; }
    double step() const { return step_; }

    void setAccessibleName(const QString& name);
    QSlider* slider() const { return slider_; }
    StyledLabel* valueLabel() const { return label_; }

signals:
    // The user moved to a new step (mouse, keyboard or screen reader).
    void valueChanged(double value);

private:
    int indexOf(double value) const;
    // Every change of the shown value goes through here, so the label and the description agree.
    void showText(double value);

    double minimum_;
    double maximum_;
    double step_;
    Formatter format_;
    double value_;
    QSlider* slider_;
    StyledLabel* label_;
};

}  // namespace solvara
