#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>

#include "app/state/AppState.h"
#include "app/ui/kit/UiServices.h"

class QAction;
class QMenu;
class QWidget;

namespace solvara {

class StateSignals;

// The program's commands, in one place for the tray menu and the main window's menu bar: the
// six Controls (each with its fixed key combination, Ctrl+Alt plus a key, shown the way Linux
// desktops write them, by the CommandMenu that holds them), the Help commands, "About Solvara"
// and "Quit Solvara". The QActions are shared: add them to any menu; the Controls' shortcuts work
// while any window of the program is active (the keyboard-shortcut manager's global grabs, when
// present, take the same keys first). Quit's Ctrl+Q works only in the windows it is added to:
// pressed in a break window or the popover, it would end the program by surprise.
//
// Quitting is one path whoever asks: the displays put back (tables reset, dimmer windows closed)
// and only then quitRequested(), on which the program ends at once.
//
// "Take Break Now" is enabled only while breaks are on: a break started with breaks off would
// never end. "Solvara Help" and "The Science" open the maker's pages in the browser, main window
// or not; "Keyboard Shortcuts" asks for the main window's Shortcuts tab through a signal.
class AppActions : public QObject {
    Q_OBJECT

public:
    AppActions(AppState& state, UiServices& ui, QObject* parent = nullptr);
    ~AppActions() override;

    // Controls, in menu order.
    QAction* toggleEnabledAction() const { return toggleEnabled_; }
    QAction* cycleModeAction() const { return cycleMode_; }
    QAction* warmerAction() const { return warmer_; }
    QAction* coolerAction() const { return cooler_; }
    QAction* togglePwmAction() const { return togglePwm_; }
    QAction* takeBreakAction() const { return takeBreak_; }
    // Help, in menu order.
    QAction* helpAction() const { return help_; }
    QAction* shortcutsAction() const { return shortcuts_; }
    QAction* websiteAction() const { return website_; }
    QAction* scienceAction() const { return science_; }
    QAction* feedbackAction() const { return feedback_; }
    QAction* aboutAction() const { return about_; }
    QAction* quitAction() const { return quit_; }

    // The six Controls with their two separators, appended to `menu`.
    void addControlsTo(QMenu* menu) const;
    // The five Help commands with their separators, appended to `menu`.
    void addHelpTo(QMenu* menu) const;
    // New menus (CommandMenu) titled "Controls" and "Help" holding the same actions, owned by
    // `parent`.
    QMenu* createControlsMenu(QWidget* parent) const;
    QMenu* createHelpMenu(QWidget* parent) const;
    // A new menu titled "Solvara" holding About and Quit, owned by `parent`.
    QMenu* createApplicationMenu(QWidget* parent) const;

    // The actions' bridge to the state's notices, for other long-lived objects to share (one
    // queued emission per change instead of one per listener).
    StateSignals& stateSignals() const { return *signals_; }

    // Opens the About box without blocking (one at a time; a second call raises it).
    void showAbout();
    QDialog* aboutBox() const { return aboutBox_; }

    // Resets the displays' tables and switches the dimmer off, then emits quitRequested().
    void quit();

    // The mode after `mode` in declaration order, over all eleven, wrapping to "Auto".
    static DisplayMode nextMode(DisplayMode mode);
    // "Version 0.1 (1)".
    static QString versionText();
    // The About box's credits: the maker on the first line, the year on the second.
    static QString creditsText(int year);

signals:
    void shortcutsTabRequested();
    // The displays and the dimmer are already reset when this comes.
    void quitRequested();

private:
    QAction* addAction(const char* objectName, const char* title, const QString& keys);
    void refresh();

    AppState& state_;
    UiServices& ui_;
    StateSignals* signals_;
    QAction* toggleEnabled_;
    QAction* cycleMode_;
    QAction* warmer_;
    QAction* cooler_;
    QAction* togglePwm_;
    QAction* takeBreak_;
    QAction* help_;
    QAction* shortcuts_;
    QAction* website_;
    QAction* science_;
    QAction* feedback_;
    QAction* about_;
    QAction* quit_;
    QPointer<QDialog> aboutBox_;
};

}  // namespace solvara
