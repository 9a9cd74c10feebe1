#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "app/ui/kit/Permissions.h"
#include "platform/TrayHosts.h"

class QWidget;

namespace solvara {

// The desktop services the views use, each behind a small interface so that every view runs
// offscreen in tests: QtUiServices holds the real ones, fake/FakeUiServices the fakes with
// queued answers. Every dialog is asynchronous: the request returns at once and the answer
// arrives through the callback on a later turn of the event loop (never a nested exec()).
// Main thread only.

// Opens web and mail links in the user's programs.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // False when the text is not a valid URL or no program took it; nothing is shown then.
    virtual bool openUrl(const QString& url) = 0;
};

// The desktop's clipboard (plain text).
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
};

// File choosers. The callback gets the chosen path, or nothing when the user cancelled.
class FileDialogs {
public:
    using Answer = std::function<void(std::optional<QString> path)>;
    struct Request {
        QString title;          // "Export Settings"
        QString suggestedName;  // save only: "Solvara-Settings.json"
        QString filter;         // "JSON (*.json)"
    };
    virtual ~FileDialogs() = default;
    // Asks for one existing file to read.
    virtual void chooseFileToOpen(QWidget* parent, const Request& request, Answer answer) = 0;
    // Asks where to write a file (the dialog may create folders and confirms overwriting).
    virtual void chooseFileToSave(QWidget* parent, const Request& request, Answer answer) = 0;
};

// Confirmation and warning boxes.
class MessageBoxes {
public:
    enum class Kind { information, warning, critical };
    struct Question {
        Kind kind = Kind::warning;
        QString title;
        QString text;
        QString informativeText;
        // The buttons, default (and destructive, if any) first; empty gives one "OK".
        QStringList buttons;
        // The button that Escape and closing the box answer; empty when the first button is it.
        QString cancelButton;
    };
    // The callback gets the text of the chosen button; closing the box answers `cancelButton`.
    using Answer = std::function<void(const QString& chosen)>;
    virtual ~MessageBoxes() = default;
    virtual void ask(QWidget* parent, const Question& question, Answer answer) = 0;
};

// The bundle handed to every view: references to services that outlive the views.
struct UiServices {
    UrlOpener& urlOpener;
    Clipboard& clipboard;
    FileDialogs& fileDialogs;
    MessageBoxes& messageBoxes;
    Permissions& permissions;
    TrayHosts& trayHosts;
};

}  // namespace solvara
