#include "app/ui/health/SleepQualityRatingView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/health/HealthFigures.h"
#include "app/ui/health/HealthWidgets.h"
#include "app/ui/kit/Divider.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Symbols.h"
#include "core/foundation/Clock.h"

namespace solvara {

namespace {

QHBoxLayout* row(QWidget* owner, int spacing) {
    auto* layout = new QHBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

}  // namespace

SleepQualityRatingView::SleepQualityRatingView(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName("SleepQualityRatingView");
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);

    auto* title = new QWidget;
    auto* titleRow = row(title, 6);
    titleRow->addWidget(healthwidgets::symbolLabel("bed.double", 13, &Theme::indigo));
    titleRow->addWidget(
        new StyledLabel(localized("How did you sleep last night?"), TextStyle::callout, &Theme::primary));
    titleRow->addStretch(1);
    stack->addWidget(title);

    ratedRow_ = new QWidget;
    auto* rated = new QVBoxLayout(ratedRow_);
    rated->setContentsMargins(0, 0, 0, 0);
    rated->setSpacing(8);
    auto* stars = new QWidget;
    stars->setObjectName("ratedStars");
    auto* starsRow = row(stars, 4);
    for (auto& star : shownStars_) {
        star = healthwidgets::symbolLabel("star", 15, &Theme::secondary, 0.3);
        starsRow->addWidget(star);
    }
    ratingWord_ = new StyledLabel(QString(), TextStyle::caption, &Theme::secondary);
    ratingWord_->setObjectName("ratingWord");
    ratingWord_->setContentsMargins(4, 0, 0, 0);
    starsRow->addWidget(ratingWord_);
    starsRow->addStretch(1);
    rated->addWidget(stars);
    changeButton_ = new GlyphButton(localized("Change Rating"), TextStyle::font(TextStyle::caption), &Theme::blue, 1.0);
    changeButton_->setObjectName("changeRating");
    changeButton_->setAccessibleName(localized("Change Rating"));
    rated->addWidget(changeButton_, 0, Qt::AlignLeft);
    stack->addWidget(ratedRow_);

    starButtonsRow_ = new QWidget;
    auto* unrated = new QVBoxLayout(starButtonsRow_);
    unrated->setContentsMargins(0, 0, 0, 0);
    unrated->setSpacing(8);
    auto* buttons = new QWidget;
    auto* buttonsRow = row(buttons, 4);
    for (int i = 0; i < 5; ++i) {
        auto* button = new GlyphButton(Symbols::glyph("star"), Symbols::font(15), &Theme::secondary, 0.3);
        button->setObjectName(QString("rateStar%1").arg(i + 1));
        button->setAccessibleName(i == 0 ? localized("Rate 1 star") : localized("Rate %1 stars").arg(i + 1));
        connect(button, &QAbstractButton::clicked, this, [this, i] { rate(i + 1); });
        starButtons_[static_cast<std::size_t>(i)] = button;
        buttonsRow->addWidget(button);
    }
    buttonsRow->addStretch(1);
    unrated->addWidget(buttons);
    prompt_ = new StyledLabel(localized("Rate your sleep quality to track correlations with light habits."),
                              TextStyle::caption, &Theme::tertiary);
    prompt_->setWordWrap(true);
    unrated->addWidget(prompt_);
    stack->addWidget(starButtonsRow_);

    insight_ = new QWidget;
    auto* insight = new QVBoxLayout(insight_);
    insight->setContentsMargins(0, 0, 0, 0);
    insight->setSpacing(8);
    insight->addWidget(new Divider);
    auto* line = new QWidget;
    auto* lineRow = row(line, 6);
    lineRow->addWidget(healthwidgets::symbolLabel("chart.line.uptrend.xyaxis", 10, &Theme::indigo));
    insightText_ = new StyledLabel(QString(), TextStyle::caption, &Theme::secondary);
    insightText_->setObjectName("sleepInsight");
    insightText_->setWordWrap(true);
    lineRow->addWidget(insightText_, 1);
    insight->addWidget(line);
    stack->addWidget(insight_);

    connect(changeButton_, &QAbstractButton::clicked, this, [this] {
        state_.setLastSleepRatingDate(std::string());
        refresh();
    });
    refresh();
}

void SleepQualityRatingView::rate(int stars) {
    // The rating first: its change handler saves the settings, the date rides along with the
    // next save.
    state_.setSleepQualityRating(stars);
    state_.setLastSleepRatingDate(HealthHistory::dateString(Clock::now()));
    refresh();
}

void SleepQualityRatingView::refresh() {
    const bool ratedToday = state_.lastSleepRatingDate() == HealthHistory::dateString(Clock::now());
    const bool wasRated = ratedRow_->isVisibleTo(this);
    QWidget* focused = QApplication::focusWidget();
    const bool focusInside = focused != nullptr && isAncestorOf(focused);
    ratedRow_->setVisible(ratedToday);
    starButtonsRow_->setVisible(!ratedToday);
    if (ratedToday) {
        const std::int64_t rating = state_.sleepQualityRating();
        const int filled = healthfigures::ratedStars(rating);
        for (int i = 0; i < 5; ++i) {
            auto* star = shownStars_[static_cast<std::size_t>(i)];
            const bool on = i < filled;
            star->setSymbol(on ? "star.fill" : "star");
            star->setColorRole(on ? &Theme::yellow : &Theme::secondary, on ? 1.0 : 0.3);
        }
        const QString word = QString::fromStdString(healthfigures::ratingLabel(rating));
        ratingWord_->setText(word);
        ratingWord_->setVisible(!word.isEmpty());
        shownStars_[0]->parentWidget()->setAccessibleName(localized("Rated %1 of 5 stars").arg(filled) +
                                                          (word.isEmpty() ? QString() : ", " + word));
    }
    // Keyboard focus follows the form that replaced the one it was in.
    if (ratedToday != wasRated && focusInside) {
        (ratedToday ? static_cast<QWidget*>(changeButton_) : starButtons_[0])->setFocus();
    }

    const auto& history = state_.healthHistory();
    const auto line = healthfigures::sevenDaySleepInsight(history.avgSleepQuality(7), history.avgLightDebt(7));
    insight_->setVisible(line.has_value());
    if (line) insightText_->setText(QString::fromStdString(*line));
}

}  // namespace solvara
