#include "app/ui/kit/CommandMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QStyleOptionMenuItem>

namespace solvara {

CommandMenu::CommandMenu(QWidget* parent) : QMenu(parent) {}

CommandMenu::CommandMenu(const QString& title, QWidget* parent) : QMenu(title, parent) {}

QString CommandMenu::shownKeys(const QKeySequence& keys) {
    QString shown = keys.toString(QKeySequence::NativeText);
    shown.replace("Down", QString::fromUtf8("↓")).replace("Up", QString::fromUtf8("↑"));
    return shown;
}

void CommandMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    // QMenu appends the shortcut after a tab; its width is measured with the longer "Down", so
    // the arrow always fits.
    if (action->shortcut().isEmpty()) return;
    const qsizetype tab = option->text.indexOf('\t');
    if (tab >= 0) option->text = option->text.left(tab + 1) + shownKeys(action->shortcut());
}

}  // namespace solvara
