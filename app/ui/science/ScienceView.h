#pragma once

#include <cstdint>
#include <optional>

#include <QWidget>

namespace solvara {

class AppState;
class ScienceCard;
class StateSignals;
struct UiServices;

// The Science tab: six topic cards, each opening on its chart, explanation and reference. Two
// charts take live values: the wake hour (kept by the phase-response chart) and the colour
// temperature the displays are given now (marked on the melanopic ratio chart).
class ScienceView : public QWidget {
public:
    ScienceView(AppState& state, UiServices& ui, QWidget* parent = nullptr);

    // The cards in their order on the page.
    ScienceCard* card(int index) const { return cards_[index]; }
    static constexpr int cardCount = 6;

private:
    void refresh();

    AppState& state_;
    StateSignals* signals_;
    ScienceCard* cards_[cardCount] = {};
    std::optional<std::int64_t> shownWakeHour_;
    std::optional<std::int64_t> shownKelvin_;
};

}  // namespace solvara
