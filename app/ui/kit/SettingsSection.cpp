#include "app/ui/kit/SettingsSection.h"

#include <QVBoxLayout>

#include "app/ui/kit/StyledLabel.h"

namespace solvara {

SettingsSection::SettingsSection(const QString& title, QWidget* parent)
    : QWidget(parent), title_(new StyledLabel(title, TextStyle::headline, &Theme::primary, this)) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(spacing);
    stack->addWidget(title_);
    content_ = new QVBoxLayout();
    content_->setContentsMargins(0, 0, 0, 0);
    content_->setSpacing(8);
    stack->addLayout(content_);
}

void SettingsSection::addWidget(QWidget* widget) {
    content_->addWidget(widget);
}

void SettingsSection::addLayout(QLayout* layout) {
    content_->addLayout(layout);
}

}  // namespace solvara
