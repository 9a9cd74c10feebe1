#pragma once

#include "app/ui/kit/QtPermissions.h"
#include "app/ui/kit/UiServices.h"
#include "platform/linux/LinuxTrayHosts.h"

namespace solvara {

// The desktop services of UiServices on Qt: QDesktopServices, QClipboard, QFileDialog and
// QMessageBox, each dialog opened with open() and deleted when it closes.
class QtUrlOpener : public UrlOpener {
public:
    bool openUrl(const QString& url) override;
};

class QtClipboard : public Clipboard {
public:
    void setText(const QString& text) override;
    QString text() const override;
};

class QtFileDialogs : public FileDialogs {
public:
    void chooseFileToOpen(QWidget* parent, const Request& request, Answer answer) override;
    void chooseFileToSave(QWidget* parent, const Request& request, Answer answer) override;
};

class QtMessageBoxes : public MessageBoxes {
public:
    void ask(QWidget* parent, const Question& question, Answer answer) override;
};

// The real services, built once by the program.
class QtUiServices {
public:
    QtUiServices() = default;
    QtUiServices(const QtUiServices&) = delete;
    QtUiServices& operator=(const QtUiServices&) = delete;

    UiServices& services() { return services_; }

private:
    QtUrlOpener urlOpener_;
    QtClipboard clipboard_;
    QtFileDialogs fileDialogs_;
    QtMessageBoxes messageBoxes_;
    QtPermissions permissions_;
    LinuxTrayHosts trayHosts_;
    UiServices services_{urlOpener_, clipboard_, fileDialogs_, messageBoxes_, permissions_, trayHosts_};
};

}  // namespace solvara
