#include "app/ui/settings/ProfileEditorSheet.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/kit/Divider.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/settings/IconButton.h"
#include "app/ui/settings/SettingsControls.h"

namespace solvara {

using namespace settingsui;

namespace {

// Only spaces and tabs are trimmed; a line break stays part of the identifier.
QString trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && blank(text[begin])) ++begin;
    while (end > begin && blank(text[end - 1])) --end;
    return text.mid(begin, end - begin);
}

}  // namespace

ProfileEditorSheet::ProfileEditorSheet(ActivityProfile profile, bool isNew,
                                       std::function<void(const ActivityProfile&)> onSave, QWidget* parent)
    : QDialog(parent), profile_(std::move(profile)), onSave_(std::move(onSave)) {
    setObjectName("ProfileEditorSheet");
    setWindowTitle(isNew ? localized("New Profile") : localized("Edit Profile"));
    setWindowModality(Qt::WindowModal);
    setFixedWidth(420);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(20);
    column->addWidget(new StyledLabel(isNew ? localized("New Profile") : localized("Edit Profile"), TextStyle::headline,
                                      &Theme::primary),
                      0, Qt::AlignHCenter);

    auto* fields = new QVBoxLayout;
    fields->setSpacing(12);
    auto* nameRow = new QHBoxLayout;
    auto* nameLabel = new StyledLabel(localized("Name"), TextStyle::body, &Theme::primary);
    nameLabel->setFixedWidth(80);
    name_ = new QLineEdit(QString::fromStdString(profile_.name));
    name_->setObjectName("profileName");
    name_->setPlaceholderText(localized("Profile name"));
    nameLabel->setBuddy(name_);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(name_);
    fields->addLayout(nameRow);

    auto* behaviorRow = new QHBoxLayout;
    auto* behaviorLabel = new StyledLabel(localized("Behavior"), TextStyle::body, &Theme::primary);
    behaviorLabel->setFixedWidth(80);
    behavior_ = new QComboBox;
    behavior_->setObjectName("profileBehavior");
    behaviorLabel->setBuddy(behavior_);
    behavior_->setAccessibleName(localized("Behavior"));
    for (auto behavior : allCases<ActivityProfile::Behavior>()) {
        behavior_->addItem(QString::fromUtf8(displayName(behavior).data()), static_cast<int>(behavior));
    }
    behavior_->setCurrentIndex(behavior_->findData(static_cast<int>(profile_.behavior)));
    behaviorRow->addWidget(behaviorLabel);
    behaviorRow->addWidget(behavior_, 1);
    fields->addLayout(behaviorRow);

    auto* identifiers = new QVBoxLayout;
    identifiers->setSpacing(6);
    identifiers->addWidget(new StyledLabel(localized("Bundle Identifiers"), TextStyle::body, &Theme::primary));
    identifiersSlot_ = new QVBoxLayout;
    identifiersSlot_->setContentsMargins(0, 0, 0, 0);
    identifiers->addLayout(identifiersSlot_);
    auto* entry = new QHBoxLayout;
    input_ = new QLineEdit;
    input_->setObjectName("identifierInput");
    input_->setPlaceholderText(localized("com.example.app"));
    input_->setAccessibleName(localized("Bundle Identifiers"));
    QFont mono("DejaVu Sans Mono");
    mono.setPixelSize(10);
    input_->setFont(mono);
    add_ = new IconButton("plus.circle.fill", localized("Add identifier"), &Theme::accent);
    add_->setObjectName("addIdentifier");
    entry->addWidget(input_, 1);
    entry->addWidget(add_);
    identifiers->addLayout(entry);
    auto* tip = new StyledLabel(
        localized("Tip: an application's identifier here is the name of its desktop file without \".desktop\" "
                  "(see /usr/share/applications) or its window class (run <code>xprop WM_CLASS</code> and click "
                  "its window)."),
        TextStyle::caption, &Theme::tertiary);
    tip->setTextFormat(Qt::RichText);
    tip->setWordWrap(true);
    tip->setObjectName("identifierTip");
    identifiers->addWidget(tip);
    fields->addLayout(identifiers);
    column->addLayout(fields);
    column->addWidget(new Divider);

    auto* buttons = new QHBoxLayout;
    auto* cancel = new QPushButton(localized("Cancel"));
    cancel->setObjectName("profileCancel");
    confirm_ = new QPushButton(isNew ? localized("Add") : localized("Save"));
    confirm_->setObjectName("profileConfirm");
    confirm_->setDefault(true);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    buttons->addWidget(confirm_);
    column->addLayout(buttons);

    connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
        profile_.name = text.toStdString();
        updateButtons();
    });
    connect(behavior_, &QComboBox::activated, this, [this](int index) {
        profile_.behavior = static_cast<ActivityProfile::Behavior>(behavior_->itemData(index).toInt());
    });
    connect(input_, &QLineEdit::textChanged, this, &ProfileEditorSheet::updateButtons);
    connect(add_, &QPushButton::clicked, this, &ProfileEditorSheet::addIdentifier);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(confirm_, &QPushButton::clicked, this, [this] {
        if (profile_.name.empty() || profile_.bundleIdentifiers.empty()) return;
        onSave_(profile_);
        accept();
    });
    rebuildIdentifiers();
    updateButtons();
}

void ProfileEditorSheet::addIdentifier() {
    const QString identifier = trimmed(input_->text());
    if (identifier.isEmpty()) return;
    profile_.bundleIdentifiers.push_back(identifier.toStdString());
    input_->clear();
    rebuildIdentifiers();
    updateButtons();
}

void ProfileEditorSheet::rebuildIdentifiers() {
    // The old list may hold the remove button being clicked: it goes once its signal is done.
    if (identifiers_ != nullptr) {
        identifiers_->hide();
        identifiers_->deleteLater();
    }
    identifiers_ = new QWidget;
    identifiers_->setObjectName("identifierList");
    auto* rows = new QVBoxLayout(identifiers_);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(6);
    QFont mono("DejaVu Sans Mono");
    mono.setPixelSize(10);
    for (std::size_t i = 0; i < profile_.bundleIdentifiers.size(); ++i) {
        auto* row = new QHBoxLayout;
        auto* text = new StyledLabel(QString::fromStdString(profile_.bundleIdentifiers[i]), TextStyle::caption,
                                     &Theme::secondary);
        text->setFont(mono);
        auto* remove = new IconButton("minus.circle", localized("Remove identifier"), &Theme::red);
        remove->setObjectName("removeIdentifier");
        row->addWidget(text, 1);
        row->addWidget(remove);
        rows->addLayout(row);
        connect(remove, &QPushButton::clicked, this, [this, i] {
            profile_.bundleIdentifiers.erase(profile_.bundleIdentifiers.begin() + static_cast<std::ptrdiff_t>(i));
            rebuildIdentifiers();
            updateButtons();
        });
    }
    identifiersSlot_->addWidget(identifiers_);
}

void ProfileEditorSheet::updateButtons() {
    add_->setEnabled(!trimmed(input_->text()).isEmpty());
    confirm_->setEnabled(!profile_.name.empty() && !profile_.bundleIdentifiers.empty());
}

}  // namespace solvara
