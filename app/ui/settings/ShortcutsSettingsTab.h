#pragma once

#include <array>
#include <map>

#include "app/services/KeyboardShortcutManager.h"
#include "app/ui/settings/SettingsControls.h"

class QPushButton;

namespace solvara {

class AppState;
class ShortcutRecorder;

// The ten shortcut actions with their combinations. Clicking a combination records a new one
// (Escape, leaving the tab or hiding the window cancels; a key the table cannot store is refused
// with the reason under the row's name); the clear button removes it; the restore button puts
// the default table back. The table is the shortcut manager's, saved after each change. While a
// recording runs, the desktop grabs are released, so the combination being pressed reaches the
// recorder instead of firing its action.
class ShortcutsSettingsTab : public settingsui::SettingsPage {
public:
    using Action = KeyboardShortcutManager::Action;

    explicit ShortcutsSettingsTab(AppState& state, QWidget* parent = nullptr);
    ~ShortcutsSettingsTab() override;

    ShortcutRecorder& recorder() const { return *recorder_; }
    void refresh();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    struct Row {
        QPushButton* field = nullptr;
        StyledLabel* note = nullptr;
    };

    void startRecording(Action action);
    void recorded(Action action, const KeyboardShortcutManager::Shortcut& shortcut);
    void recordingStopped();
    void unusableKey(const QString& keys);

    AppState& state_;
    ShortcutRecorder* recorder_;
    std::array<Row, 10> rows_{};
    // Combinations the user recorded that the manager would not keep (a character key with
    // Shift alone), so the row can say why it stayed empty. View state only.
    std::map<Action, KeyboardShortcutManager::Shortcut> refused_;
    // The last key of the running recording that the table cannot store, as the user pressed it.
    QString unusableKeys_;
    bool grabsSuspended_ = false;
};

}  // namespace solvara
