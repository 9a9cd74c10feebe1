#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "app/ui/kit/UiServices.h"
#include "platform/fake/FakeTrayHosts.h"

namespace solvara {

// Fakes of the desktop services for widget tests. Dialog answers are queued beforehand ("the
// next save dialog answers /tmp/x.csv", "the next confirmation answers Reset") and delivered
// like the real dialogs', on a later turn of the event loop: wait for them with
// SOLVARA_EXPECT_EVENTUALLY (tests/platform/linux/QtTestApplication.h). A request with no
// queued answer is answered as cancelled. Every request is recorded.

class FakeUrlOpener : public UrlOpener {
public:
    bool openUrl(const QString& url) override;

    std::vector<QString> opened;  // every URL asked for, in order
    bool answer = true;           // what openUrl() answers
};

class FakeClipboard : public Clipboard {
public:
    void setText(const QString& text) override { text_ = text; }
    QString text() const override { return text_; }

private:
    QString text_;
};

class FakeFileDialogs : public FileDialogs {
public:
    struct Asked {
        bool save = false;
        Request request;
    };

    void chooseFileToOpen(QWidget* parent, const Request& request, Answer answer) override;
    void chooseFileToSave(QWidget* parent, const Request& request, Answer answer) override;

    // The next dialog, open or save, answers `path` (nothing: cancelled).
    void answerNext(std::optional<QString> path) { answers_.push_back(std::move(path)); }

    std::vector<Asked> asked;

private:
    void deliver(Answer answer);
    std::deque<std::optional<QString>> answers_;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    void ask(QWidget* parent, const Question& question, Answer answer) override;

    // The next box answers as if `button` had been pressed (a text not among its buttons fails
    // the box's test through a recorded mismatch, answered as cancelled).
    void answerNext(const QString& button) { answers_.push_back(button); }

    std::vector<Question> asked;
    std::vector<QString> mismatches;  // answers that named no button of their box

private:
    std::deque<QString> answers_;
};

// Permissions answered from two flags; a request may grant its permission (as a user who says
// yes at once) when `grantOnRequest` is set. Requests are counted.
class FakePermissions : public Permissions {
public:
    bool locationGranted() override { return location; }
    void requestLocation() override {
        ++locationRequests;
        if (grantOnRequest) location = true;
    }
    bool accessibilityGranted() override { return accessibility; }
    void requestAccessibility() override {
        ++accessibilityRequests;
        if (grantOnRequest) accessibility = true;
    }

    bool location = false;
    bool accessibility = false;
    bool grantOnRequest = false;
    int locationRequests = 0;
    int accessibilityRequests = 0;
};

// All the fakes, and the bundle of references to them.
class FakeUiServices {
public:
    FakeUiServices() = default;
    FakeUiServices(const FakeUiServices&) = delete;
    FakeUiServices& operator=(const FakeUiServices&) = delete;

    UiServices& services() { return services_; }

    FakeUrlOpener urlOpener;
    FakeClipboard clipboard;
    FakeFileDialogs fileDialogs;
    FakeMessageBoxes messageBoxes;
    FakePermissions permissions;
    // No tray host until a test says so.
    FakeTrayHosts trayHosts;

private:
    UiServices services_{urlOpener, clipboard, fileDialogs, messageBoxes, permissions, trayHosts};
};

}  // namespace solvara
