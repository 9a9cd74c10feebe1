#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QCheckBox>
#include <QVariant>
#include <QWidget>

#include "app/ui/kit/Picker.h"
#include "app/ui/kit/SteppedSlider.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Theme.h"

class QSlider;
class QVBoxLayout;

namespace solvara {

class AppState;
class SettingsRow;

// How the settings tabs put the kit's widgets together: the page, its sections and rows,
// pickers and slider rows as the tabs use them.
namespace settingsui {

// A tab's page: a vertical stack inset 24 px with 20 px between its children, content at the top.
class SettingsPage : public QWidget {
public:
    explicit SettingsPage(QWidget* parent = nullptr);
    QVBoxLayout* stack() const { return stack_; }
    // A titled section added to the page; answers the layout its content goes into (10 px apart).
    QVBoxLayout* addSection(const QString& title, QWidget** sectionOut = nullptr);
    QWidget* addDivider();
    StyledLabel* addCaption(const QString& text, StyledLabel::ColorRole role = &Theme::secondary);
    // Keeps everything above at the top.
    void finish();

private:
    QVBoxLayout* stack_;
};

// A label at the left and a value at the right, whose value label is named `objectName`; the row
// also goes to `rowOut`, through whose setValue() the value changes.
QWidget* valueRow(const QString& label, const QString& value, const char* objectName, SettingsRow** rowOut);

QCheckBox* toggle(const QString& text, const char* objectName);

// A pop-up picker of fixed width whose items carry tags.
Picker* picker(const char* objectName, int width);
// A picker of whole numbers, each item showing text(value).
Picker* intPicker(const char* objectName, int width, const std::vector<std::int64_t>& values,
                  const std::function<QString(std::int64_t)>& text);
// Calls `chosen` with the tag of each item the user picks (mouse, keyboard or screen reader).
void onPicked(Picker* picker, std::function<void(const QVariant&)> chosen);
// Selects the item tagged `tag`, or none when no item has it (the stored value is kept).
void selectTag(Picker* picker, const QVariant& tag);
// The label, a stretch and the picker; the label names the picker for screen readers.
QWidget* pickerRow(const QString& label, Picker* picker);

// A slider row: the label, a stepped slider of limited width and its value text of fixed width.
// The inner QSlider is named "<objectName>Slider".
class SliderRow : public QWidget {
public:
    SliderRow(const QString& label, double min, double max, double step, SteppedSlider::Formatter format,
              int maxSliderWidth, int valueWidth, const char* objectName, QWidget* parent = nullptr);
    // Shows `value` as it is (under the kit's rule: the knob at the nearest step or the end).
    void showValue(double value) { slider_->setValue(value); }
    // Called with the step's value whenever the user moves the slider.
    void onMoved(std::function<void(double)> moved);
    QSlider* slider() const;
    SteppedSlider* steppedSlider() const { return slider_; }

private:
    SteppedSlider* slider_;
};

// Calls `refresh` once on the next turn of the event loop after each burst of changes of the
// state or its break scheduler, for as long as `owner` lives.
void watchState(AppState& state, QObject* owner, std::function<void()> refresh);

}  // namespace settingsui
}  // namespace solvara
