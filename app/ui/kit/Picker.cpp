#include "app/ui/kit/Picker.h"

#include <QSignalBlocker>

namespace solvara {

Picker::Picker(const QString& accessibleName, QWidget* parent) : QComboBox(parent) {
    setAccessibleName(accessibleName);
    setFocusPolicy(Qt::StrongFocus);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    QObject::connect(this, &QComboBox::activated, this, [this](int index) { emit tagActivated(itemData(index)); });
}

void Picker::addOption(const QString& text, const QVariant& tag) {
    const QSignalBlocker blocker(this);
    addItem(text, tag);
    if (count() == 1) setCurrentIndex(-1);
}

void Picker::setCurrentTag(const QVariant& tag) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(findData(tag));
}

}  // namespace solvara
