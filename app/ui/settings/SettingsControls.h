#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QVariant>
#include <QWidget>

#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Theme.h"

class QBoxLayout;
class QVBoxLayout;

namespace solvara {

class AppState;

// The small building blocks of the settings tabs: a page, sections, rows, pickers with tags,
// stepped sliders, and labels whose colour follows the window's light or dark theme.
namespace settingsui {

// The theme the widget's window shows (read from its palette, so it follows a live switch).
const Theme& themeOf(const QWidget* widget);
// A light or dark palette for a whole window, from the named colours.
QPalette palette(bool dark);

enum class Tone { primary, secondary, tertiary, orange, red, accent, indigo };

// A label in a text style and a named colour of the current theme.
class ToneLabel : public QLabel {
public:
    ToneLabel(const QString& text, TextStyle::Style style, Tone tone = Tone::primary, QWidget* parent = nullptr);
    void setTone(Tone tone);
    Tone tone() const { return tone_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyTone();
    Tone tone_;
};

// A tab's page: a vertical stack inset 24 px with 20 px between its children, content at the top.
class SettingsPage : public QWidget {
public:
    explicit SettingsPage(QWidget* parent = nullptr);
    QVBoxLayout* stack() const { return stack_; }
    // A titled section added to the page; answers the layout its content goes into (10 px apart).
    QVBoxLayout* addSection(const QString& title, QWidget** sectionOut = nullptr);
    QWidget* addDivider();
    ToneLabel* addCaption(const QString& text, Tone tone = Tone::secondary);
    // Keeps everything above at the top.
    void finish();

private:
    QVBoxLayout* stack_;
};

// A thin separator line.
QWidget* divider(QWidget* parent = nullptr);

// A label at the left and a value at the right with even-width digits; answers the value label.
QWidget* valueRow(const QString& label, const QString& value, const char* objectName, ToneLabel** valueOut);

QCheckBox* toggle(const QString& text, const char* objectName);

// A pop-up picker of fixed width whose items carry tags (userData).
QComboBox* picker(const char* objectName, int width);
// A picker of whole numbers, each item showing text(value).
QComboBox* intPicker(const char* objectName, int width, const std::vector<std::int64_t>& values,
                     const std::function<QString(std::int64_t)>& text);
// Calls `chosen` with the tag of each item the user picks (mouse, keyboard or screen reader).
void onPicked(QComboBox* picker, std::function<void(const QVariant&)> chosen);
// Selects the item tagged `tag`, or none when no item has it (the stored value is kept).
void selectTag(QComboBox* picker, const QVariant& tag);
// The label, a stretch and the picker; the label names the picker for screen readers.
QWidget* pickerRow(const QString& label, QComboBox* picker);

// A slider over min...max in steps: the slider holds the step index, the label the true value.
class SteppedSlider : public QWidget {
public:
    SteppedSlider(const QString& label, double min, double max, double step, int maxSliderWidth, int valueWidth,
                  const char* objectName, QWidget* parent = nullptr);
    QSlider* slider() const { return slider_; }
    QLabel* valueLabel() const { return value_; }
    // Shows `value` (under a signal blocker): the slider at its step, or at the end for a value
    // beyond the range; the label says `text`.
    void showValue(double value, const QString& text);
    // The value of the slider's current step.
    double value() const;
    // Called with the step's value whenever the user moves the slider.
    void onMoved(std::function<void(double)> moved);

private:
    double min_;
    double step_;
    QSlider* slider_;
    ToneLabel* value_;
};

// Calls `refresh` on the next turn of the event loop after each change of the state, once for a
// burst of changes, for as long as `owner` lives.
void watchState(AppState& state, QObject* owner, std::function<void()> refresh);

}  // namespace settingsui
}  // namespace solvara
