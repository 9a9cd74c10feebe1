#pragma once

#include <cstdint>
#include <optional>

#include <QObject>

#include "app/services/KeyboardShortcutManager.h"

class QKeyEvent;

namespace solvara {

// Records one key combination for a shortcut action. While recording, it watches every key
// press of the application (an event filter on the application), so no window or control sees
// one: Escape cancels, a press without Shift, Ctrl, Alt or Super (a plain key, or a modifier key
// on its own) is swallowed and the recording goes on, a key the table has no code for (F13,
// Pause, a letter beyond a US layout) is refused with its name and the recording goes on, and
// the first key with a modifier is reported as the key code and modifier bits the table stores.
class ShortcutRecorder : public QObject {
    Q_OBJECT
public:
    using Action = KeyboardShortcutManager::Action;
    using Shortcut = KeyboardShortcutManager::Shortcut;

    explicit ShortcutRecorder(QObject* parent = nullptr);
    ~ShortcutRecorder() override;

    // Ends any recording, then records for `action`.
    void start(Action action);
    // Ends the recording, storing nothing; harmless when idle.
    void stop();
    std::optional<Action> recordingAction() const { return action_; }

    // The table's key code of a Qt key (a US layout's key that carries it; keypad keys when the
    // keypad modifier is set); empty for keys the table cannot name.
    static std::optional<std::uint16_t> keyCode(int qtKey, Qt::KeyboardModifiers modifiers);
    // The table's modifier bits: Shift, Ctrl, Alt and Super (Qt's Meta); nothing else.
    static std::uint64_t modifierBits(Qt::KeyboardModifiers modifiers);

signals:
    void recorded(KeyboardShortcutManager::Action action, KeyboardShortcutManager::Shortcut shortcut);
    // A key the table cannot store was pressed (as "Ctrl+Alt+Ä"); the recording goes on.
    void refused(KeyboardShortcutManager::Action action, const QString& keys);
    // The recording ended, recorded or not.
    void stopped();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleKeyPress(const QKeyEvent& event);

    std::optional<Action> action_;
};

}  // namespace solvara
