#include "app/ui/kit/fake/FakeUiServices.h"

#include <QCoreApplication>
#include <QTimer>

namespace solvara {

bool FakeUrlOpener::openUrl(const QString& url) {
    opened.push_back(url);
    return answer;
}

void FakeFileDialogs::chooseFileToOpen(QWidget*, const Request& request, Answer answer) {
    asked.push_back({false, request});
    deliver(std::move(answer));
}

void FakeFileDialogs::chooseFileToSave(QWidget*, const Request& request, Answer answer) {
    asked.push_back({true, request});
    deliver(std::move(answer));
}

void FakeFileDialogs::deliver(Answer answer) {
    std::optional<QString> path;
    if (!answers_.empty()) {
        path = std::move(answers_.front());
        answers_.pop_front();
    }
    QTimer::singleShot(0, QCoreApplication::instance(), [answer = std::move(answer), path] {
        if (answer) answer(path);
    });
}

void FakeMessageBoxes::ask(QWidget*, const Question& question, Answer answer) {
    asked.push_back(question);
    const QStringList buttons = question.buttons.isEmpty() ? QStringList{"OK"} : question.buttons;
    const QString cancel = question.cancelButton.isEmpty() ? buttons.front() : question.cancelButton;
    QString chosen = cancel;
    if (!answers_.empty()) {
        const QString wanted = answers_.front();
        answers_.pop_front();
        if (buttons.contains(wanted)) {
            chosen = wanted;
        } else {
            mismatches.push_back(wanted);
        }
    }
    QTimer::singleShot(0, QCoreApplication::instance(), [answer = std::move(answer), chosen] {
        if (answer) answer(chosen);
    });
}

}  // namespace solvara
