#include "app/ui/popover/MenuBarPopover.h"

#include <variant>

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>

#include "app/ui/kit/BuildInfo.h"
#include "app/ui/kit/Divider.h"
#include "app/ui/kit/Dot.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Pill.h"
#include "app/ui/kit/PlainButton.h"
#include "app/ui/kit/StateSignals.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/Switch.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/Transition.h"
#include "app/ui/kit/TransitionLabel.h"
#include "app/ui/popover/KelvinBar.h"
#include "app/ui/popover/ModeButton.h"
#include "app/ui/popover/PopoverReadouts.h"
#include "core/foundation/Format.h"

namespace solvara {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QHBoxLayout* row(QWidget* owner, int spacing) {
    auto* layout = new QHBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QVBoxLayout* column(int spacing) {
    auto* layout = new QVBoxLayout();
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

// The modes the grid offers: all but "Custom" and "Disabled".
constexpr std::array<DisplayMode, 9> gridModes{DisplayMode::auto_,        DisplayMode::movie,      DisplayMode::reading,
                                               DisplayMode::presentation, DisplayMode::coding,     DisplayMode::gaming,
                                               DisplayMode::biohacker,    DisplayMode::sunglasses, DisplayMode::dark};

void setVisibleIfChanged(QWidget* widget, bool visible, bool& changed) {
    if (widget->isHidden() != visible) return;
    widget->setVisible(visible);
    changed = true;
}

// The same through a transition, played while the popover is on screen.
void setVisibleIfChanged(QWidget* widget, WidgetTransition* transition, bool visible, bool animated, bool& changed) {
    if (widget->isHidden() != visible) return;
    transition->setShown(visible, animated);
    changed = true;
}

}  // namespace

MenuBarPopover::MenuBarPopover(AppState& state, UiServices& ui, QWidget* parent)
    : QWidget(parent), state_(state), ui_(ui), signals_(new StateSignals(state, this)) {
    setObjectName("menuBarPopover");
    setAccessibleName("Solvara");
    setFixedWidth(popoverWidth);
    setAutoFillBackground(true);

    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(padding, padding, padding, padding);
    stack->setSpacing(sectionSpacing);
    buildHeader(stack);
    stack->addWidget(new Divider(Qt::Horizontal, this));
    buildReadouts(stack);
    buildModeGrid(stack);
    buildInsights(stack);
    buildBreakRow(stack);
    stack->addWidget(new Divider(Qt::Horizontal, this));
    buildFooter(stack);

    const TransitionStyle fromTop{layoutMilliseconds, true, true, false};
    for (int i = 0; i < stack->count(); ++i) {
        QWidget* section = stack->itemAt(i)->widget();
        if (section == nullptr) continue;
        auto* transition = new WidgetTransition(section, fromTop);
        if (section == insights_) insightsTransition_ = transition;
        if (section == breakRow_) breakRowTransition_ = transition;
        sections_.push_back({section, transition});
    }
    boostTransition_ = new WidgetTransition(boostLabel_, TransitionStyle{layoutMilliseconds, true, false, true});

    connect(signals_, &StateSignals::stateChanged, this, &MenuBarPopover::refresh);
    connect(signals_, &StateSignals::breakStateChanged, this, &MenuBarPopover::refresh);
    refresh();
}

MenuBarPopover::~MenuBarPopover() = default;

void MenuBarPopover::buildHeader(QLayout* stack) {
    auto* header = new QWidget(this);
    auto* layout = row(header, 8);
    auto* titles = column(2);
    titles->addWidget(new StyledLabel(localized("Solvara"), TextStyle::headline, &Theme::primary, header));
    auto* phase = new QHBoxLayout();
    phase->setSpacing(4);
    phaseDot_ = new Dot(6, &Theme::secondary, header);
    phaseDot_->setObjectName("phaseDot");
    phaseDot_->setAccessibleName(localized("Phase color"));
    phaseLabel_ = new TransitionLabel(TransitionLabel::Kind::crossFade, readoutMilliseconds,
                                      TextStyle::font(TextStyle::caption), &Theme::secondary, header);
    phaseLabel_->setObjectName("phaseLabel");
    phase->addWidget(phaseDot_, 0, Qt::AlignVCenter);
    phase->addWidget(phaseLabel_, 0, Qt::AlignVCenter);
    phase->addStretch(1);
    titles->addLayout(phase);
    layout->addLayout(titles);
    layout->addStretch(1);
    enableSwitch_ = new Switch("Enable Solvara", header);
    enableSwitch_->setObjectName("enableSwitch");
    layout->addWidget(enableSwitch_, 0, Qt::AlignVCenter);
    connect(enableSwitch_, &QAbstractButton::toggled, this, [this](bool on) { state_.setIsEnabled(on); });
    stack->addWidget(header);
}

void MenuBarPopover::buildReadouts(QLayout* stack) {
    // Kelvin row.
    auto* kelvinRow = new QWidget(this);
    auto* kelvin = row(kelvinRow, 8);
    kelvin->addWidget(new SymbolView("thermometer.medium", 17, &Theme::orange, kelvinRow), 0, Qt::AlignVCenter);
    kelvinLabel_ = new TransitionLabel(TransitionLabel::Kind::roll, readoutMilliseconds,
                                       TextStyle::systemFont(17, QFont::DemiBold), &Theme::primary, kelvinRow);
    kelvinLabel_->setObjectName("kelvinLabel");
    kelvin->addWidget(kelvinLabel_, 0, Qt::AlignVCenter);
    kelvin->addStretch(1);
    solarColumn_ = new QWidget(kelvinRow);
    solarColumn_->setObjectName("solarColumn");
    auto* solar = new QVBoxLayout(solarColumn_);
    solar->setContentsMargins(0, 0, 0, 0);
    solar->setSpacing(2);
    solarLabel_ = new TransitionLabel(TransitionLabel::Kind::crossFade, layoutMilliseconds,
                                      TextStyle::font(TextStyle::caption), &Theme::secondary, solarColumn_);
    solarLabel_->setObjectName("solarLabel");
    solar->addWidget(solarLabel_, 0, Qt::AlignRight);
    boostLabel_ = new QWidget(solarColumn_);
    boostLabel_->setObjectName("boostLabel");
    auto* boost = row(boostLabel_, 3);
    boost->addWidget(new SymbolView("sunrise", 10, &Theme::blue, boostLabel_));
    boost->addWidget(new StyledLabel(localized("Morning Boost"), TextStyle::caption2, &Theme::blue, boostLabel_));
    solar->addWidget(boostLabel_, 0, Qt::AlignRight);
    kelvin->addWidget(solarColumn_, 0, Qt::AlignVCenter);
    stack->addWidget(kelvinRow);

    // Melanopic section.
    auto* melanopic = new QWidget(this);
    auto* section = row(melanopic, 8);
    const QFont smallLabel = TextStyle::systemFont(9, QFont::Medium);
    const QFont value = TextStyle::systemFont(10, QFont::DemiBold);
    auto* daylight = column(2);
    daylight->addWidget(new StyledLabel(localized("% Daylight"), smallLabel, &Theme::secondary, melanopic));
    daylightValue_ =
        new TransitionLabel(TransitionLabel::Kind::roll, readoutMilliseconds, value, &Theme::primary, melanopic);
    daylightValue_->setObjectName("daylightValue");
    daylight->addWidget(daylightValue_);
    section->addLayout(daylight);
    section->addStretch(1);
    auto* edi = column(2);
    edi->addWidget(new StyledLabel(localized("Melanopic EDI"), smallLabel, &Theme::secondary, melanopic), 0,
                   Qt::AlignRight);
    auto* ediRow = new QHBoxLayout();
    ediRow->setSpacing(4);
    statusDot_ = new Dot(6, &Theme::green, melanopic);
    statusDot_->setObjectName("statusDot");
    statusDot_->setAccessibleName(localized("Melanopic guideline status"));
    ediValue_ =
        new TransitionLabel(TransitionLabel::Kind::roll, readoutMilliseconds, value, &Theme::primary, melanopic);
    ediValue_->setObjectName("ediValue");
    ediRow->addWidget(statusDot_, 0, Qt::AlignVCenter);
    ediRow->addWidget(ediValue_, 0, Qt::AlignVCenter);
    edi->addLayout(ediRow);
    section->addLayout(edi);
    targetPill_ = new Pill({}, TextStyle::systemFont(8, QFont::Medium), melanopic);
    targetPill_->setObjectName("targetPill");
    section->addWidget(targetPill_, 0, Qt::AlignVCenter);
    stack->addWidget(melanopic);

    kelvinBar_ = new KelvinBar(this);
    kelvinBar_->setObjectName("kelvinBar");
    stack->addWidget(kelvinBar_);
}

void MenuBarPopover::buildModeGrid(QLayout* stack) {
    auto* grid = new QWidget(this);
    grid->setObjectName("modeGrid");
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(6);
    for (std::size_t i = 0; i < gridModes.size(); ++i) {
        auto* button = new ModeButton(gridModes[i], grid);
        const DisplayMode mode = gridModes[i];
        // Written even when the mode is already current: the state re-applies and persists.
        connect(button, &QAbstractButton::clicked, this, [this, mode] { state_.setCurrentMode(mode); });
        layout->addWidget(button, static_cast<int>(i / 3), static_cast<int>(i % 3));
        modeButtons_[i] = button;
    }
    for (int c = 0; c < 3; ++c) layout->setColumnStretch(c, 1);
    stack->addWidget(grid);
}

void MenuBarPopover::buildInsights(QLayout* stack) {
    insights_ = new QWidget(this);
    insights_->setObjectName("insights");
    auto* rows = new QVBoxLayout(insights_);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);
    const auto addRow = [&](const char* name, std::string_view symbol, QColor Theme::*color, SymbolView*& symbolOut,
                            StyledLabel*& textOut) {
        auto* line = new QWidget(insights_);
        line->setObjectName(name);
        auto* layout = row(line, 6);
        symbolOut = new SymbolView(symbol, 10, color, line);
        textOut = new StyledLabel({}, TextStyle::caption, color, line);
        textOut->setObjectName(QString(name) + "Text");
        layout->addWidget(symbolOut, 0, Qt::AlignVCenter);
        layout->addWidget(textOut, 1, Qt::AlignVCenter);
        rows->addWidget(line);
        return line;
    };
    melatoninRow_ = addRow("melatoninRow", "clock", &Theme::secondary, melatoninSymbol_, melatoninText_);
    SymbolView* unused = nullptr;
    sleepRow_ = addRow("sleepRow", "bed.double", &Theme::secondary, unused, sleepText_);
    dstRow_ = addRow("dstRow", "clock.arrow.2.circlepath", &Theme::orange, unused, dstText_);
    stack->addWidget(insights_);
}

void MenuBarPopover::buildBreakRow(QLayout* stack) {
    breakRow_ = new QWidget(this);
    breakRow_->setObjectName("breakRow");
    auto* layout = row(breakRow_, 6);
    layout->addWidget(new SymbolView("timer", 12, &Theme::orange, breakRow_), 0, Qt::AlignVCenter);
    QFont mono("DejaVu Sans Mono");
    mono.setPixelSize(10);
    breakCountdown_ =
        new TransitionLabel(TransitionLabel::Kind::roll, countdownMilliseconds, mono, &Theme::orange, breakRow_);
    breakCountdown_->setObjectName("breakCountdown");
    layout->addWidget(breakCountdown_, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    breakNowButton_ =
        new PlainButton(localized("Break Now"), TextStyle::font(TextStyle::caption), &Theme::orange, breakRow_);
    breakNowButton_->setObjectName("breakNowButton");
    breakNowButton_->setAccessibleName(localized("Break Now"));
    connect(breakNowButton_, &QAbstractButton::clicked, this, [this] { state_.breakScheduler().triggerBreak(); });
    layout->addWidget(breakNowButton_, 0, Qt::AlignVCenter);
    stack->addWidget(breakRow_);
}

void MenuBarPopover::buildFooter(QLayout* stack) {
    auto* footer = new QWidget(this);
    footer->setObjectName("popoverFooter");
    auto* layout = row(footer, 12);
    const QFont caption = TextStyle::font(TextStyle::caption);
    auto* open = new PlainButton(localized("Open Solvara"), caption, &Theme::secondary, footer);
    open->setObjectName("openButton");
    open->setAccessibleName("Open main window");
    // The name says what the button does in other words than its title: the title a sighted
    // person reads still reaches a screen reader.
    open->setAccessibleDescription(localized("Open Solvara"));
    connect(open, &QAbstractButton::clicked, this, &MenuBarPopover::openMainWindowRequested);
    layout->addWidget(open);
    layout->addStretch(1);

    // Unlike its neighbours, the share button takes the small system size (11 px), not the caption.
    shareButton_ = new PlainButton(localized("Share"), TextStyle::systemFont(11), &Theme::secondary, footer);
    shareButton_->setObjectName("shareButton");
    shareButton_->setAccessibleName(localized("Share"));
    shareMenu_ = new QMenu(this);
    shareMenu_->setObjectName("shareMenu");
    QAction* copy = shareMenu_->addAction(localized("Copy to Clipboard"));
    copy->setObjectName("shareCopyAction");
    QAction* mail = shareMenu_->addAction(localized("Send by E-mail"));
    mail->setObjectName("shareMailAction");
    // The text first, then the link, in both.
    connect(copy, &QAction::triggered, this,
            [this] { ui_.clipboard.setText(localized(shareText) + "\n" + BuildInfo::shareUrl()); });
    connect(mail, &QAction::triggered, this, [this] {
        const QString body = localized(shareText) + "\n" + BuildInfo::shareUrl();
        ui_.urlOpener.openUrl("mailto:?subject=Solvara&body=" + QString::fromLatin1(QUrl::toPercentEncoding(body)));
    });
    connect(shareButton_, &QAbstractButton::clicked, this, &MenuBarPopover::showShareMenu);
    layout->addWidget(shareButton_);

    auto* quit = new PlainButton(localized("Quit"), caption, &Theme::secondary, footer);
    quit->setObjectName("quitButton");
    quit->setAccessibleName("Quit Solvara");
    connect(quit, &QAbstractButton::clicked, this, &MenuBarPopover::quit);
    layout->addWidget(quit);
    stack->addWidget(footer);
}

void MenuBarPopover::keyPressEvent(QKeyEvent* event) {
    // A popup window of our own: Escape closes it as it closes a menu.
    if (event->key() == Qt::Key_Escape && isWindow()) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MenuBarPopover::showShareMenu() {
    // No link, no sharing: the click does nothing.
    const QUrl link(BuildInfo::shareUrl(), QUrl::StrictMode);
    if (!link.isValid() || link.scheme().isEmpty()) return;
    Theme::apply(shareMenu_, state_.shouldUseDarkMode());
    shareMenu_->popup(shareButton_->mapToGlobal(QPoint(0, shareButton_->height())));
}

void MenuBarPopover::quit() {
    state_.displayManager().resetToDefault();
    state_.softwareDimmer().deactivate();
    emit quitRequested();
}

void MenuBarPopover::refresh() {
    Theme::apply(this, state_.shouldUseDarkMode());
    bool layoutChanged = false;
    const bool animated = isVisible();
    std::vector<QPoint> placedAt;
    std::vector<bool> wasShown;
    for (const Section& section : sections_) {
        placedAt.push_back(section.widget->pos());
        wasShown.push_back(!section.widget->isHidden());
    }

    const auto& current = state_.currentState();
    const QString phase = current ? text(popover::phaseText(current)) : localized("Initializing...");
    // The dot's colour belongs to the phase name and moves as the name cross-fades.
    const popover::ColorChoice phaseColor = popover::phaseColor(current);
    phaseDot_->setColor(phaseColor.role, phaseColor.opacity, phaseLabel_->text() != phase ? readoutMilliseconds : 0);
    phaseLabel_->setTextAnimated(phase);
    {
        const QSignalBlocker blocker(enableSwitch_);
        enableSwitch_->setChecked(state_.isEnabled());
    }

    const std::int64_t kelvin = state_.effectiveKelvin();
    const QString kelvinText = text(popover::kelvinText(kelvin));
    // The melanopic section plays its changes with a new kelvin only; a new hour's target or
    // status on its own shows at once.
    const int melanopicMilliseconds = kelvinLabel_->text() != kelvinText ? readoutMilliseconds : 0;
    if (kelvinLabel_->text() != kelvinText) {
        kelvinLabel_->setTextAnimated(kelvinText);
        kelvinLabel_->setAccessibleName(localized("Color temperature") + " " + text(format::integer(kelvin)) + " " +
                                        localized("Kelvin"));
        kelvinLabel_->setAccessibleDescription(kelvinText);
    }
    setVisibleIfChanged(solarColumn_, current.has_value(), layoutChanged);
    if (current) {
        // The sun's column plays its changes as "Morning Boost" comes or goes.
        const bool boostChanged = boostLabel_->isHidden() == current->isMorningBoostActive;
        solarLabel_->setTextAnimated(text(popover::solarText(current->solarElevation)), boostChanged);
        setVisibleIfChanged(boostLabel_, boostTransition_, current->isMorningBoostActive,
                            animated && !solarColumn_->isHidden(), layoutChanged);
    }

    const QString daylight = text(popover::daylightText(kelvin));
    daylightValue_->setTextAnimated(daylight);
    const double edi = state_.currentMelanopicEDI();
    const QString ediText = text(popover::ediText(edi));
    ediValue_->setTextAnimated(ediText);
    const bool sleepTime = state_.isSleepTime();
    const bool postDLMO = state_.isPostDLMO();
    const popover::ColorChoice status = popover::statusColor(MelanopicModel::guidelineStatus(edi, postDLMO, sleepTime));
    statusDot_->setColor(status.role, status.opacity, melanopicMilliseconds);
    statusDot_->setAccessibleDescription(
        QString::fromUtf8(rawValue(MelanopicModel::guidelineStatus(edi, postDLMO, sleepTime)).data()));
    targetPill_->setText(text(popover::targetText(sleepTime, postDLMO)), melanopicMilliseconds);
    kelvinBar_->setKelvin(kelvin);

    const DisplayMode mode = state_.currentMode();
    for (ModeButton* button : modeButtons_) button->setSelected(button->mode() == mode, animated);

    const auto dlmo = state_.dlmoCountdownText();
    const auto sleepIfNow = state_.sleepIfNowText();
    const auto dst = state_.dstSmoother().statusMessage();
    setVisibleIfChanged(melatoninRow_, dlmo.has_value(), layoutChanged);
    if (dlmo) {
        melatoninText_->setText(text(*dlmo));
        melatoninSymbol_->setSymbol(postDLMO ? "moon.zzz" : "clock");
        const auto color = postDLMO ? &Theme::indigo : &Theme::secondary;
        melatoninSymbol_->setColorRole(color);
        melatoninText_->setColorRole(color);
    }
    setVisibleIfChanged(sleepRow_, sleepIfNow.has_value(), layoutChanged);
    if (sleepIfNow) sleepText_->setText(text(*sleepIfNow));
    setVisibleIfChanged(dstRow_, dst.has_value(), layoutChanged);
    if (dst) dstText_->setText(text(*dst));
    setVisibleIfChanged(insights_, insightsTransition_, dlmo || sleepIfNow || dst, animated, layoutChanged);

    const std::string& countdown = state_.breakCountdownText();
    setVisibleIfChanged(breakRow_, breakRowTransition_, state_.breaksEnabled() && !countdown.empty(), animated,
                        layoutChanged);
    if (!countdown.empty()) breakCountdown_->setTextAnimated(text(countdown));
    const bool counting = std::holds_alternative<BreakScheduler::Counting>(state_.breakScheduler().state());
    setVisibleIfChanged(breakNowButton_, counting, layoutChanged);

    if (!layoutChanged) return;
    layout()->activate();
    // A window follows its content's height.
    const int height = isWindow() ? sizeHint().height() : this->height();
    if (isWindow()) resize(popoverWidth, height);
    if (!animated) return;
    // The sections' new places now, not once the window system has answered the resize; each
    // that moved is drawn from where it stood.
    layout()->setGeometry(QRect(0, 0, popoverWidth, height));
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        if (wasShown[i] && !section.widget->isHidden()) {
            section.transition->slide(section.widget->pos() - placedAt[i], layoutMilliseconds);
        }
    }
}

}  // namespace solvara
