#include "app/ui/onboarding/OnboardingFlow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "app/state/AppState.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Picker.h"
#include "app/ui/kit/PlainButton.h"
#include "app/ui/kit/StateSignals.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/Transition.h"
#include "app/ui/kit/UiServices.h"
#include "app/ui/onboarding/OnboardingPreviews.h"
#include "app/ui/onboarding/OnboardingWidgets.h"
#include "core/foundation/Format.h"

namespace solvara {

namespace {

// How long the desktop gets to answer a permission request before the page looks again.
constexpr int locationRecheckMs = 1000;
constexpr int accessibilityRecheckMs = 2000;
constexpr int pageMilliseconds = 350;

QString hourText(int hour) {
    return QString::fromStdString(format::integer(hour)) + ":00";
}

StyledLabel* heading(const QString& text, TextStyle::Style style) {
    QFont font = TextStyle::font(style);
    font.setBold(true);
    auto* label = new StyledLabel(text, font, &Theme::primary);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A wrapped text in centred lines; `width` fixes the width its lines wrap at (0: the page's).
StyledLabel* centredText(const QString& text, int width = 0) {
    auto* label = new StyledLabel(text, TextStyle::body, &Theme::secondary);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    if (width > 0) label->setFixedWidth(width);
    return label;
}

QVBoxLayout* pageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(32, 32, 32, 32);
    layout->setSpacing(16);
    return layout;
}

// A symbol in a colour, in a frame `width` wide.
SymbolView* framedSymbol(std::string_view name, QColor Theme::*color, int pixelSize, int width) {
    auto* symbol = new SymbolView(name, pixelSize, color);
    symbol->setFixedWidth(width);
    symbol->setAlignment(Qt::AlignCenter);
    return symbol;
}

QWidget* demoRow(std::string_view symbol, QColor Theme::*color, const QString& text) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(framedSymbol(symbol, color, TextStyle::font(TextStyle::caption).pixelSize() + 4, 20));
    layout->addWidget(new StyledLabel(text, TextStyle::caption, &Theme::secondary));
    layout->addStretch(1);
    return row;
}

}  // namespace

OnboardingFlow::OnboardingFlow(AppState& state, UiServices& ui, QWidget* parent)
    : QWidget(parent),
      state_(state),
      ui_(ui),
      signals_(new StateSignals(state, this)),
      progress_(new OnboardingProgressBar(totalSteps)),
      pages_(new QStackedWidget),
      pageAnimation_(new QVariantAnimation(this)) {
    setObjectName("OnboardingFlow");
    setFixedSize(520, 480);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(progress_);
    layout->addWidget(pages_, 1);
    pages_->setObjectName("onboardingPages");
    pages_->addWidget(welcomeStep());
    pages_->addWidget(solarDemoStep());
    pages_->addWidget(scheduleStep());
    pages_->addWidget(permissionsStep());
    progress_->setStep(0, false);

    // A new page slides in from the trailing edge and fades in; a picture of the old one slides
    // out toward the leading edge and fades out, each by the page area's whole width.
    pageAnimation_->setDuration(pageMilliseconds);
    pageAnimation_->setEasingCurve(motion::easeInOut());
    pageAnimation_->setStartValue(0.0);
    pageAnimation_->setEndValue(1.0);
    connect(pageAnimation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const double t = value.toDouble();
        const int slide = pages_->width();
        QWidget* page = pages_->currentWidget();
        page->move(int((1 - t) * slide), 0);
        if (auto* fade = dynamic_cast<TransitionEffect*>(page->graphicsEffect())) fade->setFrame(t, {}, 1.0);
        if (leaving_ != nullptr) {
            leaving_->move(int(-t * slide), 0);
            if (auto* fade = dynamic_cast<TransitionEffect*>(leaving_->graphicsEffect()))
                fade->setFrame(1 - t, {}, 1.0);
        }
    });
    connect(pageAnimation_, &QVariantAnimation::finished, this, &OnboardingFlow::settlePages);

    connect(signals_, &StateSignals::stateChanged, this, &OnboardingFlow::refresh);
    refresh();
}

void OnboardingFlow::focusNextButton() {
    // The blue button of the page in view: Return goes on from it (a focused button is its
    // dialog's default), and a screen reader starts reading the new page there. The page left
    // behind is hidden, and its button, which had the focus, with it.
    if (auto* next = pages_->currentWidget()->findChild<QAbstractButton*>("onboardingNext")) {
        next->setFocus(Qt::OtherFocusReason);
    }
}

QWidget* OnboardingFlow::page(int step) const {
    return pages_->widget(step);
}

void OnboardingFlow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (step_ == 3) checkPermissions(false);
    // Its window takes the first button in its focus chain otherwise ("Skip").
    focusNextButton();
}

QWidget* OnboardingFlow::navigationButtons(int backStep, const QString& nextLabel, int nextStep) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const bool skip = backStep < 0;
    auto* left = new PlainButton(skip ? localized("Skip") : localized("Back"), TextStyle::font(TextStyle::body),
                                 &Theme::secondary);
    left->setObjectName(skip ? "onboardingSkip" : "onboardingBack");
    layout->addWidget(left);
    layout->addStretch(1);
    auto* next = new ProminentButton(nextLabel);
    next->setObjectName("onboardingNext");
    layout->addWidget(next);
    if (skip) {
        connect(left, &QAbstractButton::clicked, this, &OnboardingFlow::completeOnboarding);
    } else {
        connect(left, &QAbstractButton::clicked, this, [this, backStep] { goTo(backStep); });
    }
    if (nextStep >= totalSteps) {
        connect(next, &QAbstractButton::clicked, this, &OnboardingFlow::completeOnboarding);
    } else {
        connect(next, &QAbstractButton::clicked, this, [this, nextStep] { goTo(nextStep); });
    }
    return row;
}

QWidget* OnboardingFlow::welcomeStep() {
    auto* page = new QWidget;
    page->setObjectName("welcomeStep");
    QVBoxLayout* layout = pageLayout(page);
    layout->addStretch(1);
    layout->addWidget(new SunAnimationView);
    layout->addWidget(heading(localized("Welcome to Solvara"), TextStyle::title));
    layout->addWidget(centredText(localized("Science-based screen filtering that syncs with the sun to protect your "
                                            "sleep, eyes, and circadian rhythm."),
                                  380),
                      0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(navigationButtons(-1, localized("Get Started"), 1));
    return page;
}

QWidget* OnboardingFlow::solarDemoStep() {
    auto* page = new QWidget;
    page->setObjectName("solarDemoStep");
    QVBoxLayout* layout = pageLayout(page);
    layout->addWidget(heading(localized("How It Works"), TextStyle::title2));
    layout->addWidget(centredText(localized("Solvara follows the sun's position to gradually warm your screen as "
                                            "evening approaches."),
                                  380),
                      0, Qt::AlignHCenter);
    layout->addWidget(new BeforeAfterPreview);
    auto* rows = new QVBoxLayout;
    rows->setSpacing(8);
    rows->addWidget(demoRow("sunrise.fill", &Theme::orange, localized("Morning: Bright, cool light to wake you up")));
    rows->addWidget(demoRow("sun.max.fill", &Theme::yellow, localized("Daytime: Full spectrum for alertness")));
    rows->addWidget(demoRow("sunset.fill", &Theme::orange, localized("Evening: Warm tones to protect melatonin")));
    rows->addWidget(
        demoRow("moon.fill", &Theme::blue, localized("Night: Deep amber to minimize circadian disruption")));
    // The rows keep their leading alignment as one block in the middle of the page.
    auto* block = new QWidget;
    block->setLayout(rows);
    rows->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(block, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(navigationButtons(0, localized("Continue"), 2));
    return page;
}

QWidget* OnboardingFlow::scheduleStep() {
    auto* page = new QWidget;
    page->setObjectName("scheduleStep");
    QVBoxLayout* layout = pageLayout(page);
    layout->addWidget(heading(localized("Your Schedule"), TextStyle::title2));
    layout->addWidget(centredText(
        localized("When do you typically wake up and go to sleep? This helps optimize your circadian curve.")));

    const auto column = [](std::string_view symbol, QColor Theme::*color, const QString& caption, Picker* picker) {
        auto* box = new QWidget;
        auto* stack = new QVBoxLayout(box);
        stack->setContentsMargins(0, 0, 0, 0);
        stack->setSpacing(8);
        stack->addWidget(framedSymbol(symbol, color, TextStyle::font(TextStyle::title2).pixelSize() + 4, 100), 0,
                         Qt::AlignHCenter);
        auto* label = new StyledLabel(caption, TextStyle::caption, &Theme::secondary);
        label->setAlignment(Qt::AlignCenter);
        label->setBuddy(picker);
        stack->addWidget(label);
        picker->setFixedWidth(100);
        stack->addWidget(picker, 0, Qt::AlignHCenter);
        return box;
    };
    wakePicker_ = new Picker(localized("Wake"));
    wakePicker_->setObjectName("wakePicker");
    for (int hour = 4; hour < 12; ++hour) wakePicker_->addOption(hourText(hour), QVariant::fromValue<qlonglong>(hour));
    // The state keeps hours of the day, so midnight is stored as 0, as the settings store it.
    sleepPicker_ = new Picker(localized("Sleep"));
    sleepPicker_->setObjectName("sleepPicker");
    for (int hour = 20; hour < 25; ++hour)
        sleepPicker_->addOption(hourText(hour % 24), QVariant::fromValue<qlonglong>(hour % 24));
    connect(wakePicker_, &Picker::tagActivated, this,
            [this](const QVariant& tag) { state_.setWakeHour(tag.toLongLong()); });
    connect(sleepPicker_, &Picker::tagActivated, this,
            [this](const QVariant& tag) { state_.setSleepHour(tag.toLongLong()); });

    auto* columns = new QHBoxLayout;
    columns->setSpacing(40);
    columns->addStretch(1);
    columns->addWidget(column("sunrise.fill", &Theme::orange, localized("Wake"), wakePicker_));
    columns->addWidget(column("moon.fill", &Theme::indigo, localized("Sleep"), sleepPicker_));
    columns->addStretch(1);
    layout->addLayout(columns);

    schedule_ = new SchedulePreview;
    auto* framed = new QHBoxLayout;
    framed->setContentsMargins(20, 0, 20, 0);
    framed->addWidget(schedule_);
    layout->addLayout(framed);
    layout->addStretch(1);
    layout->addWidget(navigationButtons(1, localized("Continue"), 3));
    return page;
}

QWidget* OnboardingFlow::permissionsStep() {
    auto* page = new QWidget;
    page->setObjectName("permissionsStep");
    QVBoxLayout* layout = pageLayout(page);
    layout->addWidget(heading(localized("Permissions"), TextStyle::title2));
    layout->addWidget(centredText(localized("Solvara needs a couple of permissions to work its magic.")));
    locationCard_ = new PermissionCard("location.fill", &Theme::blue, localized("Location"),
                                       localized("Calculate sunrise and sunset for your exact position."));
    locationCard_->setObjectName("locationCard");
    accessibilityCard_ = new PermissionCard("accessibility", &Theme::purple, localized("Accessibility"),
                                            localized("Control display gamma ramps for accurate color filtering."));
    accessibilityCard_->setObjectName("accessibilityCard");
    auto* cards = new QVBoxLayout;
    cards->setSpacing(14);
    cards->addWidget(locationCard_);
    cards->addWidget(accessibilityCard_);
    layout->addLayout(cards);
    auto* note = new StyledLabel(localized("You can skip this, but some features may not work without these "
                                           "permissions."),
                                 TextStyle::caption, &Theme::orange);
    note->setObjectName("permissionsNote");
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    permissionNote_ = note;
    layout->addWidget(note);
    layout->addStretch(1);
    layout->addWidget(navigationButtons(2, localized("Continue"), totalSteps));

    // Each press asks again and looks again once the desktop has had time to answer.
    connect(locationCard_, &PermissionCard::grantRequested, this, [this] {
        ui_.permissions.requestLocation();
        QTimer::singleShot(locationRecheckMs, this, [this] { checkPermissions(true); });
    });
    connect(accessibilityCard_, &PermissionCard::grantRequested, this, [this] {
        ui_.permissions.requestAccessibility();
        QTimer::singleShot(accessibilityRecheckMs, this, [this] { checkPermissions(true); });
    });
    return page;
}

void OnboardingFlow::goTo(int step) {
    if (step == step_) return;
    settlePages();
    auto* leaving = new QLabel(pages_);
    leaving->setObjectName("onboardingLeavingPage");
    leaving->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Both pages slide as stills: a frame is two blits, not two pages painted.
    const QPixmap old = pages_->currentWidget()->grab();
    leaving->setPixmap(old);
    leaving->setGeometry(pages_->currentWidget()->geometry());
    auto* fadeOut = new TransitionEffect(leaving);
    fadeOut->setPicture(old);
    leaving->setGraphicsEffect(fadeOut);
    leaving_ = leaving;

    step_ = step;
    progress_->setStep(step, true);
    // The permissions are read before the page is shown and its picture taken: the picture is
    // what slides in, so it must show the answer the page settles on. Showing the page lays out
    // the cards for the check marks and buttons the check left visible.
    if (step == 3) checkPermissions(false);
    pages_->setCurrentIndex(step);
    QWidget* page = pages_->currentWidget();
    page->layout()->activate();
    // Before the picture is taken, which shows the focus.
    focusNextButton();
    auto* fade = new TransitionEffect(page);
    fade->setPicture(page->grab());
    fade->setFrame(0.0, {}, 1.0);
    page->setGraphicsEffect(fade);
    leaving->show();
    leaving->raise();
    pageAnimation_->start();
}

void OnboardingFlow::settlePages() {
    pageAnimation_->stop();
    for (int index = 0; index < pages_->count(); ++index) {
        QWidget* page = pages_->widget(index);
        page->move(0, 0);
        page->setGraphicsEffect(nullptr);
    }
    if (leaving_ != nullptr) {
        leaving_->deleteLater();
        leaving_ = nullptr;
    }
}

void OnboardingFlow::completeOnboarding() {
    state_.setIsEnabled(true);
    state_.setHasCompletedOnboarding(true);
    emit finished();
}

void OnboardingFlow::checkPermissions(bool animated) {
    // A position the location service already delivered to the program answers the question,
    // whatever the flow's own look at the service says.
    const bool fixInHand = state_.locationSource() == LocationSource::automatic && state_.hasLocationFix();
    locationGranted_ = fixInHand || ui_.permissions.locationGranted();
    accessibilityGranted_ = ui_.permissions.accessibilityGranted();
    locationCard_->setGranted(locationGranted_, animated);
    accessibilityCard_->setGranted(accessibilityGranted_, animated);
    permissionNote_->setVisible(!(locationGranted_ && accessibilityGranted_));
}

void OnboardingFlow::refresh() {
    wakePicker_->setCurrentTag(QVariant::fromValue<qlonglong>(state_.wakeHour()));
    sleepPicker_->setCurrentTag(QVariant::fromValue<qlonglong>(state_.sleepHour()));
    schedule_->setHours(int(state_.wakeHour()), int(state_.sleepHour()));
}

}  // namespace solvara
