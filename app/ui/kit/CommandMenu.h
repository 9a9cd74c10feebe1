#pragma once

#include <QMenu>

namespace solvara {

// A menu for the shared commands. The actions carry their bare title and their key combination
// as a shortcut, never "title<Tab>keys" in the text: the tray's menu is exported over D-Bus,
// where hosts show the label as it stands and draw the shortcut themselves, so a tab in the
// label would show the keys twice. This menu draws the shortcut the way Linux desktops write
// it, with arrows for the arrow keys, and shows it in the tray's context menu too.
class CommandMenu : public QMenu {
    Q_OBJECT

public:
    explicit CommandMenu(QWidget* parent = nullptr);
    explicit CommandMenu(const QString& title, QWidget* parent = nullptr);

    // "Ctrl+Alt+Down" as "Ctrl+Alt+↓".
    static QString shownKeys(const QKeySequence& keys);

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};

}  // namespace solvara
