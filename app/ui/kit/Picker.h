#pragma once

#include <QComboBox>
#include <QVariant>

namespace solvara {

// A pop-up picker whose items carry tags (an enumeration's raw value, a number) as userData.
// setCurrentTag() selects by tag; a tag not in the list shows no selection and leaves the
// stored value alone. tagActivated() fires on every user choice (mouse, keyboard, screen
// reader), the same item again included, so a view writes its setting from it; setCurrentTag()
// emits nothing.
class Picker : public QComboBox {
    Q_OBJECT

public:
    explicit Picker(const QString& accessibleName, QWidget* parent = nullptr);

    void addOption(const QString& text, const QVariant& tag);
    // Selects the item tagged `tag`; none when no item has it. Emits nothing.
    void setCurrentTag(const QVariant& tag);
    // The selected item's tag; invalid while nothing is selected.
    QVariant currentTag() const { return currentData(); }

signals:
    void tagActivated(const QVariant& tag);
};

}  // namespace solvara
