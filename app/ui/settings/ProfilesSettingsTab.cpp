#include "app/ui/settings/ProfilesSettingsTab.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/TextLines.h"
#include "app/ui/settings/IconButton.h"
#include "app/ui/settings/ProfileEditorSheet.h"
#include "app/ui/settings/SettingsTexts.h"

namespace solvara {

using namespace settingsui;

namespace {

QColor behaviorColor(const Theme& theme, ActivityProfile::Behavior behavior) {
    switch (behavior) {
        case ActivityProfile::Behavior::colorAccurate:
            return theme.red;
        case ActivityProfile::Behavior::cinema:
            return theme.purple;
        case ActivityProfile::Behavior::coding:
            return theme.green;
        case ActivityProfile::Behavior::reading:
            return theme.orange;
        case ActivityProfile::Behavior::normal:
            return theme.accent;
    }
    return theme.accent;
}

// A text on a filled rounded shape: the behaviour badge (its colour at 15 % behind the full
// colour) and the "Built-in" capsule (white on the secondary colour).
class Badge : public QLabel {
public:
    Badge(const QString& text, std::function<std::pair<QColor, QColor>(const Theme&)> colors, QFont font,
          QMargins padding, bool capsule)
        : QLabel(text), colors_(std::move(colors)), capsule_(capsule) {
        setFont(font);
        setContentsMargins(padding);
        setAlignment(Qt::AlignCenter);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const auto [background, foreground] = colors_(Theme::of(this));
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        const double radius = capsule_ ? height() / 2.0 : 4.0;
        path.addRoundedRect(QRectF(rect()), radius, radius);
        painter.fillPath(path, background);
        painter.setPen(foreground);
        painter.setFont(font());
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

private:
    std::function<std::pair<QColor, QColor>(const Theme&)> colors_;
    bool capsule_;
};

// One line that gives way to the row: cut short with an ellipsis when the row is narrower than
// the text, so a long name or long identifiers never push the badge and the buttons out of the
// window. The whole text stays in the tooltip and for screen readers.
class ElidedLine : public StyledLabel {
public:
    ElidedLine(const QString& text, const QFont& font, ColorRole role) : StyledLabel(text, font, role) {
        setToolTip(text);
        setAccessibleName(text);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    QString shownText() const { return linesWithin(text(), font(), contentsRect().width(), 1).value(0); }

    QSize minimumSizeHint() const override {
        return {QFontMetrics(font()).horizontalAdvance(QString::fromUtf8("M…")), sizeHint().height()};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
    }
};

}  // namespace

ProfilesSettingsTab::ProfilesSettingsTab(AppState& state, QWidget* parent) : SettingsPage(parent), state_(state) {
    setObjectName("ProfilesSettingsTab");
    section_ = addSection("Per-App Profiles");
    auto* add = new QPushButton(iconOf("plus", Theme::light().accent), localized("Add Profile"));
    add->setObjectName("addProfile");
    add->setAccessibleName(localized("Add Profile"));
    section_->addWidget(add, 0, Qt::AlignLeft);
    connect(add, &QPushButton::clicked, this,
            [this] { openEditor(ActivityProfile("", {}, ActivityProfile::Behavior::normal, false), true); });
    addDivider();
    addCaption(
        localized("Profiles control how Solvara behaves when specific apps are in the foreground. Color "
                  "Accurate disables filtering entirely. Cinema, Coding, and Reading apply tuned warmth "
                  "levels."));
    finish();
    rebuildRows();
}

void ProfilesSettingsTab::scheduleRebuild() {
    QTimer::singleShot(0, this, [this] { rebuildRows(); });
}

void ProfilesSettingsTab::rebuildRows() {
    if (rows_ != nullptr) {
        rows_->hide();
        rows_->deleteLater();
    }
    rows_ = new QWidget;
    rows_->setObjectName("profileRows");
    auto* layout = new QVBoxLayout(rows_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const ActivityProfile& profile : state_.profileManager().activityProfiles())
        layout->addWidget(makeRow(profile));
    // The rows come first, the "Add Profile" button after them.
    section_->insertWidget(0, rows_);
}

QWidget* ProfilesSettingsTab::makeRow(const ActivityProfile& profile) {
    auto* row = new QWidget;
    row->setObjectName("profileRow");
    row->setProperty("profileName", QString::fromStdString(profile.name));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 4);

    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    auto* title = new QHBoxLayout;
    title->setSpacing(6);
    QFont medium = TextStyle::font(TextStyle::body);
    medium.setWeight(QFont::Medium);
    auto* name = new ElidedLine(QString::fromStdString(profile.name), medium, &Theme::primary);
    name->setObjectName("profileRowName");
    title->addWidget(name);
    if (profile.isBuiltIn) {
        auto* builtIn = new Badge(
            localized("Built-in"),
            [](const Theme& theme) {
                return std::pair{theme.secondary, QColor(Qt::white)};
            },
            TextStyle::systemFont(9, QFont::Medium), QMargins(5, 1, 5, 1), true);
        builtIn->setObjectName("builtInBadge");
        title->addWidget(builtIn);
    }
    title->addStretch(1);
    text->addLayout(title);
    auto* identifiers = new ElidedLine(QString::fromStdString(settingstext::identifierLine(profile.bundleIdentifiers)),
                                       TextStyle::font(TextStyle::caption2), &Theme::secondary);
    identifiers->setObjectName("profileRowIdentifiers");
    text->addWidget(identifiers);
    layout->addLayout(text, 1);

    const ActivityProfile::Behavior behavior = profile.behavior;
    auto* badge = new Badge(
        QString::fromUtf8(displayName(behavior).data()),
        [behavior](const Theme& theme) {
            const QColor color = behaviorColor(theme, behavior);
            return std::pair{Theme::withOpacity(color, 0.15), color};
        },
        TextStyle::font(TextStyle::caption), QMargins(8, 3, 8, 3), false);
    badge->setObjectName("behaviorBadge");
    layout->addWidget(badge);

    auto* edit = new IconButton("pencil", localized("Edit") + " " + QString::fromStdString(profile.name),
                                &Theme::secondary, 1.0, 13);
    edit->setObjectName("editProfile");
    layout->addWidget(edit);
    const Uuid id = profile.id;
    connect(edit, &QPushButton::clicked, this, [this, id] {
        for (const ActivityProfile& candidate : state_.profileManager().activityProfiles()) {
            if (candidate.id == id) return openEditor(candidate, false);
        }
    });
    if (!profile.isBuiltIn) {
        auto* remove = new IconButton("trash", localized("Delete") + " " + QString::fromStdString(profile.name),
                                      &Theme::red, 0.7, 13);
        remove->setObjectName("deleteProfile");
        layout->addWidget(remove);
        connect(remove, &QPushButton::clicked, this, [this, id] {
            state_.profileManager().deleteProfile(id);
            state_.persistSettings();
            scheduleRebuild();
        });
    }
    return row;
}

void ProfilesSettingsTab::openEditor(const ActivityProfile& profile, bool isNew) {
    if (sheet_ != nullptr) return;
    sheet_ = new ProfileEditorSheet(
        profile, isNew,
        [this, isNew](const ActivityProfile& saved) {
            if (isNew) {
                state_.profileManager().addProfile(saved);
            } else {
                state_.profileManager().updateProfile(saved);
            }
            state_.persistSettings();
            scheduleRebuild();
        },
        this);
    Theme::apply(sheet_, Theme::of(this).isDark);
    sheet_->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet_, &QDialog::finished, this, [this] { sheet_ = nullptr; });
    sheet_->open();
}

}  // namespace solvara
