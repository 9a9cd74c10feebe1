#include "app/ui/kit/SettingsRow.h"

#include <QHBoxLayout>

#include "app/ui/kit/StyledLabel.h"

namespace solvara {

SettingsRow::SettingsRow(const QString& label, const QString& value, QWidget* parent)
    : QWidget(parent),
      label_(new StyledLabel(label, TextStyle::body, &Theme::primary, this)),
      value_(new StyledLabel(value, TextStyle::body, &Theme::secondary, this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label_);
    row->addStretch(1);
    value_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(value_);
    nameValue();
}

void SettingsRow::setValue(const QString& value) {
    if (value_->text() == value) return;
    value_->setText(value);
    nameValue();
}

void SettingsRow::nameValue() {
    // Named after the row alone, the label would hide its value from a screen reader.
    const QString value = value_->text();
    value_->setAccessibleName(value.isEmpty() ? label_->text() : label_->text() + ": " + value);
}

QString SettingsRow::value() const {
    return value_->text();
}

}  // namespace solvara
