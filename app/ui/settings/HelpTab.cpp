#include "app/ui/settings/HelpTab.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/BuildInfo.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/UiServices.h"
#include "app/ui/settings/GeneralSettingsTab.h"
#include "app/ui/settings/IconButton.h"
#include "app/ui/settings/SettingsTexts.h"

namespace solvara {

using namespace settingsui;

namespace {

// The step number, white and bold on an orange circle of 22 px.
class StepNumber : public QWidget {
public:
    explicit StepNumber(QString number) : number_(std::move(number)) { setFixedSize(22, 22); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::of(this).orange);
        painter.drawEllipse(rect());
        painter.setPen(Qt::white);
        painter.setFont(TextStyle::systemFont(10, QFont::Bold));
        painter.drawText(rect(), Qt::AlignCenter, number_);
    }

private:
    QString number_;
};

// The key combination in monospace on a rounded tint.
class KeysLabel : public QLabel {
public:
    explicit KeysLabel(const QString& keys) : QLabel(keys) {
        QFont mono("DejaVu Sans Mono");
        mono.setPixelSize(13);
        setFont(mono);
        setContentsMargins(8, 2, 8, 2);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const Theme& theme = Theme::of(this);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), 4, 4);
        painter.fillPath(path, Theme::withOpacity(theme.secondary, 0.1));
        painter.setPen(theme.secondary);
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
};

QWidget* stepRow(const char* number, const char* step) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(new StepNumber(number), 0, Qt::AlignTop);
    auto* text = new StyledLabel(localized(step), TextStyle::body, &Theme::secondary);
    text->setWordWrap(true);
    layout->addWidget(text, 1);
    return row;
}

QWidget* shortcutRow(const char* action, const char* keys) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new StyledLabel(action, TextStyle::body, &Theme::primary));
    layout->addStretch(1);
    layout->addWidget(new KeysLabel(keys));
    return row;
}

QWidget* tipRow(const char* symbol, const char* tip) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    auto* icon = new SymbolView(symbol, 14, &Theme::orange);
    icon->setFixedWidth(20);
    layout->addWidget(icon, 0, Qt::AlignTop);
    auto* text = new StyledLabel(localized(tip), TextStyle::callout, &Theme::secondary);
    text->setWordWrap(true);
    layout->addWidget(text, 1);
    return row;
}

QVBoxLayout* column(QVBoxLayout* into, int spacing) {
    auto* layout = new QVBoxLayout;
    layout->setSpacing(spacing);
    into->addLayout(layout);
    return layout;
}

QPushButton* linkButton(const char* title, const char* symbol, const char* objectName) {
    auto* button = new QPushButton(iconOf(symbol, Theme::light().accent), localized(title));
    button->setObjectName(objectName);
    button->setAccessibleName(localized(title));
    return button;
}

}  // namespace

HelpTab::HelpTab(AppState& state, UiServices& ui, QWidget* parent) : SettingsPage(parent), state_(state), ui_(ui) {
    setObjectName("HelpTab");

    QVBoxLayout* start = addSection("Getting Started");
    auto* intro =
        new StyledLabel(localized("Solvara automatically adjusts your display's color temperature based on the "
                                  "sun's position to protect your circadian rhythm and improve sleep quality."),
                        TextStyle::body, &Theme::secondary);
    intro->setWordWrap(true);
    start->addWidget(intro);
    QVBoxLayout* steps = column(start, 8);
    steps->addWidget(stepRow("1", "Enable Solvara in General settings"));
    steps->addWidget(stepRow("2", "Allow location access for accurate solar tracking, or choose a city manually"));
    steps->addWidget(stepRow("3", "Pick a display mode or leave it on Auto for solar-based adjustments"));
    steps->addWidget(stepRow("4", "Enable break reminders in the Breaks tab for 20-20-20 eye care"));
    addDivider();

    QVBoxLayout* keys = addSection("Keyboard Shortcuts");
    QVBoxLayout* list = column(keys, 6);
    list->addWidget(shortcutRow("Toggle On/Off", "Ctrl+Alt+E"));
    list->addWidget(shortcutRow("Cycle Mode", "Ctrl+Alt+M"));
    list->addWidget(shortcutRow("Warmer (+100K)", "Ctrl+Alt+↓"));
    list->addWidget(shortcutRow("Cooler (-100K)", "Ctrl+Alt+↑"));
    list->addWidget(shortcutRow("Toggle PWM Protection", "Ctrl+Alt+P"));
    list->addWidget(shortcutRow("Take Break Now", "Ctrl+Alt+B"));
    keys->addWidget(
        new StyledLabel(localized("Customize shortcuts in the Shortcuts tab."), TextStyle::caption, &Theme::tertiary));
    addDivider();

    QVBoxLayout* links = addSection("Links");
    auto* first = new QHBoxLayout;
    first->setSpacing(16);
    QPushButton* website = linkButton("Website", "globe", "websiteLink");
    QPushButton* faq = linkButton("FAQ", "questionmark.bubble", "faqLink");
    QPushButton* science = linkButton("Science", "book", "scienceLink");
    for (QPushButton* b : {website, faq, science}) first->addWidget(b);
    first->addStretch(1);
    links->addLayout(first);
    auto* second = new QHBoxLayout;
    second->setSpacing(16);
    auto* feedback = new QPushButton(localized("Send Feedback..."));
    feedback->setObjectName("sendFeedback");
    feedback->setFlat(true);
    QPushButton* tour = linkButton("Restart Tour", "arrow.counterclockwise", "restartTour");
    second->addWidget(feedback);
    second->addWidget(tour);
    second->addStretch(1);
    links->addLayout(second);
    connect(website, &QPushButton::clicked, this, [this] { open(BuildInfo::websiteUrl()); });
    connect(faq, &QPushButton::clicked, this, [this] { open(BuildInfo::helpUrl()); });
    connect(science, &QPushButton::clicked, this, [this] { open(BuildInfo::scienceUrl()); });
    connect(feedback, &QPushButton::clicked, this,
            [this] { open(BuildInfo::feedbackMailUrl("Solvara v" + GeneralSettingsTab::appVersion() + " Feedback")); });
    connect(tour, &QPushButton::clicked, this, [this] { state_.setHasCompletedOnboarding(false); });
    addDivider();

    QVBoxLayout* tips = addSection("Tips");
    QVBoxLayout* tipList = column(tips, 6);
    tipList->addWidget(tipRow("sun.max", "Use Auto mode for science-based solar tracking throughout the day"));
    tipList->addWidget(tipRow("sunrise", "Enable Morning Boost to suppress melatonin and feel alert faster"));
    tipList->addWidget(tipRow("eye", "The 20-20-20 rule: every 20 min, look 20 feet away for 20 seconds"));
    tipList->addWidget(tipRow("display.2", "Per-monitor settings are in the Display tab for multi-monitor setups"));
    tipList->addWidget(tipRow("keyboard", "Use keyboard shortcuts for quick adjustments without opening the app"));
    finish();
}

}  // namespace solvara

namespace solvara {

void HelpTab::open(const QString& address) {
    ui_.urlOpener.openUrl(address);
}

}  // namespace solvara
