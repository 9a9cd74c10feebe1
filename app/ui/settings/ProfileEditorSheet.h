#pragma once

#include <functional>

#include <QDialog>

#include "core/profiles/ActivityProfile.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace solvara {

// Edits one profile's working copy (name, behaviour, identifiers). Nothing leaves the sheet but
// through the confirm button, which calls `onSave` once with the copy; Cancel and Escape discard
// it. Opened window-modal with open().
class ProfileEditorSheet : public QDialog {
public:
    ProfileEditorSheet(ActivityProfile profile, bool isNew, std::function<void(const ActivityProfile&)> onSave,
                       QWidget* parent = nullptr);

    const ActivityProfile& profile() const { return profile_; }

private:
    void rebuildIdentifiers();
    void addIdentifier();
    void updateButtons();

    ActivityProfile profile_;
    std::function<void(const ActivityProfile&)> onSave_;
    QLineEdit* name_;
    QComboBox* behavior_;
    QWidget* identifiers_ = nullptr;
    QVBoxLayout* identifiersSlot_;
    QLineEdit* input_;
    QPushButton* add_;
    QPushButton* confirm_;
};

}  // namespace solvara
