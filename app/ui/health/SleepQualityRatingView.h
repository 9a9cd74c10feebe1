#pragma once

#include <array>

#include <QWidget>

namespace solvara {

class AppState;
class StyledLabel;
class SymbolView;
class GlyphButton;

// "How did you sleep last night?": five star buttons until last night is rated today, then the
// stars given with their word and "Change Rating"; below, a line drawn from the last seven days
// of the history. The rating and its date live in the state; this view only writes them.
class SleepQualityRatingView : public QWidget {
public:
    explicit SleepQualityRatingView(AppState& state, QWidget* parent = nullptr);

    void refresh();

private:
    void rate(int stars);

    AppState& state_;
    QWidget* ratedRow_;
    std::array<SymbolView*, 5> shownStars_{};
    StyledLabel* ratingWord_;
    GlyphButton* changeButton_;
    QWidget* starButtonsRow_;
    std::array<GlyphButton*, 5> starButtons_{};
    StyledLabel* prompt_;
    QWidget* insight_;
    StyledLabel* insightText_;
};

}  // namespace solvara
