#pragma once

#include "app/ui/settings/SettingsControls.h"

class QVBoxLayout;

namespace solvara {

class AppState;
class ProfileEditorSheet;
struct ActivityProfile;

// The per-app profiles: one row each (name, built-in badge, first identifiers, behaviour badge,
// edit, and delete for the user's own), and the add button. Every change goes to the state's
// profile manager and is persisted at once; the list is redrawn after each, on the next turn of
// the event loop (a row's own delete button is never destroyed under its click).
class ProfilesSettingsTab : public settingsui::SettingsPage {
public:
    explicit ProfilesSettingsTab(AppState& state, QWidget* parent = nullptr);

    // The open add or edit sheet, if any.
    ProfileEditorSheet* sheet() const { return sheet_; }

private:
    void rebuildRows();
    void scheduleRebuild();
    QWidget* makeRow(const ActivityProfile& profile);
    void openEditor(const ActivityProfile& profile, bool isNew);

    AppState& state_;
    QVBoxLayout* section_;
    QWidget* rows_ = nullptr;
    ProfileEditorSheet* sheet_ = nullptr;
};

}  // namespace solvara
