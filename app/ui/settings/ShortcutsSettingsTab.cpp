#include "app/ui/settings/ShortcutsSettingsTab.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/Divider.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/settings/IconButton.h"
#include "app/ui/settings/SettingsTexts.h"
#include "app/ui/settings/ShortcutRecorder.h"

namespace solvara {

using namespace settingsui;

namespace {

std::size_t indexOf(KeyboardShortcutManager::Action action) {
    return static_cast<std::size_t>(action);
}

// The combination field: the combination (or "Press keys..." in orange while recording) on a
// rounded tint.
class CombinationField : public QPushButton {
public:
    CombinationField() {
        QFont mono("DejaVu Sans Mono");
        mono.setPixelSize(13);
        setFont(mono);
        setCursor(Qt::PointingHandCursor);
    }
    void setRecording(bool recording) {
        recording_ = recording;
        update();
    }
    QSize sizeHint() const override {
        const QFontMetrics metrics(font());
        return {metrics.horizontalAdvance(text()) + 20, metrics.height() + 8};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const Theme& theme = Theme::of(this);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), 6, 6);
        painter.fillPath(path,
                         recording_ ? Theme::withOpacity(theme.orange, 0.1) : Theme::withOpacity(theme.secondary, 0.1));
        if (hasFocus()) {
            painter.setPen(QPen(theme.accent, 1.5));
            painter.drawPath(path);
        }
        painter.setPen(recording_ ? theme.orange : theme.primary);
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

private:
    bool recording_ = false;
};

}  // namespace

ShortcutsSettingsTab::ShortcutsSettingsTab(AppState& state, QWidget* parent)
    : SettingsPage(parent), state_(state), recorder_(new ShortcutRecorder(this)) {
    setObjectName("ShortcutsSettingsTab");
    QVBoxLayout* section = addSection("Keyboard Shortcuts");
    auto* caption = new StyledLabel(localized("Click a shortcut to re-record it. Press Escape to cancel."),
                                    TextStyle::caption, &Theme::secondary);
    section->addWidget(caption);
    for (Action action : KeyboardShortcutManager::allActions) {
        const QString name = QString::fromUtf8(KeyboardShortcutManager::rawValue(action).data(),
                                               static_cast<int>(KeyboardShortcutManager::rawValue(action).size()));
        auto* row = new QHBoxLayout;
        auto* names = new QVBoxLayout;
        names->setSpacing(2);
        names->addWidget(new StyledLabel(name, TextStyle::body, &Theme::primary));
        Row& entry = rows_[indexOf(action)];
        entry.note = new StyledLabel(QString(), TextStyle::caption, &Theme::orange);
        entry.note->setObjectName("shortcutNote");
        names->addWidget(entry.note);
        row->addLayout(names, 1);
        auto* field = new CombinationField;
        field->setObjectName("shortcutField");
        field->setProperty("action", name);
        entry.field = field;
        row->addWidget(field);
        auto* clear = new IconButton("xmark.circle", localized("Clear shortcut"), &Theme::secondary);
        clear->setObjectName("clearShortcut");
        clear->setProperty("action", name);
        clear->setAccessibleName(localized("Clear shortcut") + " " + name);
        row->addWidget(clear);
        section->addLayout(row);

        connect(field, &QPushButton::clicked, this, [this, action] {
            // Clicking the field of the running recording changes nothing.
            if (recorder_->recordingAction() != action) startRecording(action);
        });
        connect(clear, &QPushButton::clicked, this, [this, action] {
            refused_.erase(action);
            if (KeyboardShortcutManager* manager = state_.shortcutManager()) {
                auto table = manager->shortcuts();
                table.erase(action);
                manager->setShortcuts(std::move(table));
            }
            refresh();
        });
    }
    section->addWidget(new Divider);
    auto* restore = new QPushButton(localized("Restore Default Shortcuts"));
    restore->setObjectName("restoreShortcuts");
    section->addWidget(restore, 0, Qt::AlignLeft);
    connect(restore, &QPushButton::clicked, this, [this] {
        refused_.clear();
        if (KeyboardShortcutManager* manager = state_.shortcutManager()) {
            manager->setShortcuts(KeyboardShortcutManager::defaultShortcuts());
        }
        refresh();
    });
    finish();

    connect(recorder_, &ShortcutRecorder::recorded, this, &ShortcutsSettingsTab::recorded);
    connect(recorder_, &ShortcutRecorder::stopped, this, &ShortcutsSettingsTab::recordingStopped);
    connect(recorder_, &ShortcutRecorder::refused, this, [this](Action, const QString& keys) { unusableKey(keys); });
    refresh();
}

ShortcutsSettingsTab::~ShortcutsSettingsTab() {
    // Leaving the tab ends a recording and gives the desktop its grabs back.
    disconnect(recorder_, nullptr, this, nullptr);
    recorder_->stop();
    if (grabsSuspended_ && state_.shortcutManager() != nullptr) state_.shortcutManager()->start();
}

void ShortcutsSettingsTab::hideEvent(QHideEvent* event) {
    SettingsPage::hideEvent(event);
    if (!event->spontaneous()) recorder_->stop();
}

void ShortcutsSettingsTab::startRecording(Action action) {
    unusableKeys_.clear();
    recorder_->start(action);
    KeyboardShortcutManager* manager = state_.shortcutManager();
    if (manager != nullptr && manager->isStarted()) {
        manager->stop();
        grabsSuspended_ = true;
    }
    refresh();
}

void ShortcutsSettingsTab::recorded(Action action, const KeyboardShortcutManager::Shortcut& shortcut) {
    refused_.erase(action);
    KeyboardShortcutManager* manager = state_.shortcutManager();
    if (manager == nullptr) return;
    auto table = manager->shortcuts();
    table[action] = shortcut;
    manager->setShortcuts(std::move(table));
    if (manager->shortcuts().count(action) == 0) refused_[action] = shortcut;
}

void ShortcutsSettingsTab::unusableKey(const QString& keys) {
    unusableKeys_ = keys;
    refresh();
}

void ShortcutsSettingsTab::recordingStopped() {
    unusableKeys_.clear();
    if (grabsSuspended_) {
        grabsSuspended_ = false;
        if (state_.shortcutManager() != nullptr) state_.shortcutManager()->start();
    }
    refresh();
}

void ShortcutsSettingsTab::refresh() {
    const KeyboardShortcutManager* manager = state_.shortcutManager();
    for (Action action : KeyboardShortcutManager::allActions) {
        Row& row = rows_[indexOf(action)];
        auto* field = static_cast<CombinationField*>(row.field);
        const bool recording = recorder_->recordingAction() == action;
        field->setRecording(recording);
        std::optional<KeyboardShortcutManager::Shortcut> shortcut;
        if (manager != nullptr) {
            if (auto it = manager->shortcuts().find(action); it != manager->shortcuts().end()) shortcut = it->second;
        }
        field->setText(recording  ? localized("Press keys...")
                       : shortcut ? QString::fromStdString(settingstext::shortcut(*shortcut))
                                  : localized("Not set"));
        field->setAccessibleName(QString::fromUtf8(KeyboardShortcutManager::rawValue(action).data()) + ": " +
                                 field->text());
        field->updateGeometry();
        QString note;
        if (recording && !unusableKeys_.isEmpty()) {
            note = unusableKeys_ + localized(" cannot be recorded: this key is not supported");
        } else if (auto refused = refused_.find(action); refused != refused_.end() && !shortcut) {
            note = QString::fromStdString(settingstext::shortcut(refused->second)) +
                   localized(" was not kept: a key that types a character needs Ctrl, Alt or Super");
        } else if (shortcut && !settingstext::isGrabbedOnDesktop(*shortcut)) {
            note = localized("Not active on the desktop: only combinations with Ctrl, Alt or Super are grabbed");
        }
        row.note->setText(note);
        row.note->setVisible(!note.isEmpty());
    }
}

}  // namespace solvara
