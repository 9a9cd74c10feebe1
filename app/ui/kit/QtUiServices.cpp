#include "app/ui/kit/QtUiServices.h"

#include <memory>

#include <QAbstractButton>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

#include "app/ui/kit/Localized.h"
#include "core/foundation/Log.h"

namespace solvara {

bool QtUrlOpener::openUrl(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) {
        Log::write("Links", "Not a link: " + text.toStdString());
        return false;
    }
    return QDesktopServices::openUrl(url);
}

void QtClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString QtClipboard::text() const {
    return QGuiApplication::clipboard()->text();
}

namespace {

void runFileDialog(QWidget* parent, const FileDialogs::Request& request, bool save, FileDialogs::Answer answer) {
    auto* dialog = new QFileDialog(parent, request.title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.filter.isEmpty()) dialog->setNameFilter(request.filter);
    if (save && !request.suggestedName.isEmpty()) dialog->selectFile(request.suggestedName);
    // Answered exactly once, whichever way the dialog ends.
    auto pending = std::make_shared<FileDialogs::Answer>(std::move(answer));
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, [pending](const QString& path) {
        if (auto call = std::exchange(*pending, nullptr)) call(path);
    });
    QObject::connect(dialog, &QDialog::finished, dialog, [pending](int) {
        if (auto call = std::exchange(*pending, nullptr)) call(std::nullopt);
    });
    dialog->open();
}

}  // namespace

void QtFileDialogs::chooseFileToOpen(QWidget* parent, const Request& request, Answer answer) {
    runFileDialog(parent, request, false, std::move(answer));
}

void QtFileDialogs::chooseFileToSave(QWidget* parent, const Request& request, Answer answer) {
    runFileDialog(parent, request, true, std::move(answer));
}

void QtMessageBoxes::ask(QWidget* parent, const Question& question, Answer answer) {
    const QMessageBox::Icon icon = question.kind == Kind::information ? QMessageBox::Information
                                   : question.kind == Kind::warning   ? QMessageBox::Warning
                                                                      : QMessageBox::Critical;
    auto* box = new QMessageBox(icon, question.title, question.text, QMessageBox::NoButton, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (!question.informativeText.isEmpty()) box->setInformativeText(question.informativeText);
    const QStringList buttons = question.buttons.isEmpty() ? QStringList{localized("OK")} : question.buttons;
    const QString cancel = question.cancelButton.isEmpty() ? buttons.front() : question.cancelButton;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        const QString& text = buttons[i];
        QPushButton* button =
            box->addButton(text, text == cancel && i > 0 ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        if (i == 0) box->setDefaultButton(button);
        if (text == cancel) box->setEscapeButton(button);
    }
    auto pending = std::make_shared<Answer>(std::move(answer));
    QObject::connect(box, &QMessageBox::buttonClicked, box, [pending](QAbstractButton* button) {
        if (auto call = std::exchange(*pending, nullptr)) call(button->text());
    });
    QObject::connect(box, &QDialog::finished, box, [pending, cancel](int) {
        if (auto call = std::exchange(*pending, nullptr)) call(cancel);
    });
    box->open();
}

}  // namespace solvara
