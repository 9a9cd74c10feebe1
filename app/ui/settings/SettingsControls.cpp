#include "app/ui/settings/SettingsControls.h"

#include <utility>

#include <QHBoxLayout>
#include <QSlider>
#include <QVBoxLayout>

#include "app/ui/kit/Divider.h"
#include "app/ui/kit/SettingsRow.h"
#include "app/ui/kit/SettingsSection.h"
#include "app/ui/kit/StateSignals.h"

namespace solvara::settingsui {

SettingsPage::SettingsPage(QWidget* parent) : QWidget(parent), stack_(new QVBoxLayout(this)) {
    stack_->setContentsMargins(24, 24, 24, 24);
    stack_->setSpacing(20);
}

QVBoxLayout* SettingsPage::addSection(const QString& title, QWidget** sectionOut) {
    auto* section = new SettingsSection(title, this);
    stack_->addWidget(section);
    if (sectionOut != nullptr) *sectionOut = section;
    return section->contentLayout();
}

QWidget* SettingsPage::addDivider() {
    auto* line = new Divider(Qt::Horizontal, this);
    stack_->addWidget(line);
    return line;
}

StyledLabel* SettingsPage::addCaption(const QString& text, StyledLabel::ColorRole role) {
    auto* caption = new StyledLabel(text, TextStyle::caption, role, this);
    caption->setWordWrap(true);
    stack_->addWidget(caption);
    return caption;
}

void SettingsPage::finish() {
    stack_->addStretch(1);
}

QWidget* valueRow(const QString& label, const QString& value, const char* objectName, SettingsRow** rowOut) {
    auto* row = new SettingsRow(label, value);
    row->valueText()->setObjectName(objectName);
    if (rowOut != nullptr) *rowOut = row;
    return row;
}

QCheckBox* toggle(const QString& text, const char* objectName) {
    auto* box = new QCheckBox(text);
    box->setObjectName(objectName);
    return box;
}

Picker* picker(const char* objectName, int width) {
    auto* box = new Picker(QString());
    box->setObjectName(objectName);
    box->setFixedWidth(width);
    box->setMaxVisibleItems(16);
    return box;
}

Picker* intPicker(const char* objectName, int width, const std::vector<std::int64_t>& values,
                  const std::function<QString(std::int64_t)>& text) {
    Picker* box = picker(objectName, width);
    for (std::int64_t value : values) box->addOption(text(value), QVariant::fromValue<qlonglong>(value));
    return box;
}

void onPicked(Picker* picker, std::function<void(const QVariant&)> chosen) {
    QObject::connect(picker, &Picker::tagActivated, picker, std::move(chosen));
}

void selectTag(Picker* picker, const QVariant& tag) {
    picker->setCurrentTag(tag);
}

QWidget* pickerRow(const QString& label, Picker* picker) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* text = new StyledLabel(label, TextStyle::body, &Theme::primary);
    text->setBuddy(picker);
    picker->setAccessibleName(label);
    layout->addWidget(text);
    layout->addStretch(1);
    layout->addWidget(picker);
    return row;
}

SliderRow::SliderRow(const QString& label, double min, double max, double step, SteppedSlider::Formatter format,
                     int maxSliderWidth, int valueWidth, const char* objectName, QWidget* parent)
    : QWidget(parent), slider_(new SteppedSlider(min, max, step, std::move(format))) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The design's default spacing, as between the slider and its value; Fusion's would be 6.
    layout->setSpacing(8);
    if (!label.isEmpty()) {
        auto* text = new StyledLabel(label, TextStyle::body, &Theme::primary);
        text->setBuddy(slider_->slider());
        layout->addWidget(text);
    }
    slider_->setObjectName(objectName);
    slider_->setAccessibleName(label);
    slider_->slider()->setMaximumWidth(maxSliderWidth);
    slider_->valueLabel()->setFixedWidth(valueWidth);
    slider_->valueLabel()->setColorRole(&Theme::primary);
    slider_->setMaximumWidth(maxSliderWidth + valueWidth + 8);
    // The slider and its value follow the label, the row's spare width stays at the right; the
    // slider takes the width first, up to its limit (a stretch of 0 gets nothing until then).
    layout->addWidget(slider_, 1);
    layout->addStretch(0);
}

void SliderRow::onMoved(std::function<void(double)> moved) {
    QObject::connect(slider_, &SteppedSlider::valueChanged, this, std::move(moved));
}

QSlider* SliderRow::slider() const {
    return slider_->slider();
}

void watchState(AppState& state, QObject* owner, std::function<void()> refresh) {
    auto* bridge = new StateSignals(state, owner);
    QObject::connect(bridge, &StateSignals::stateChanged, owner, refresh);
    QObject::connect(bridge, &StateSignals::breakStateChanged, owner, refresh);
}

}  // namespace solvara::settingsui
