#pragma once

#include <cstdint>
#include <map>

#include <QWidget>

class QAbstractButton;
class QVBoxLayout;

namespace solvara {

class AppState;
class StyledLabel;
namespace settingsui {
class SliderRow;
}  // namespace settingsui

// One card per display the state knows, sorted by name: a switch that leaves the display
// unfiltered, and its own colour temperature and brightness. A card writes its record back into
// the state's map at once (every step of a drag). Cards are updated in place by display id, so
// the slider under the pointer is never rebuilt while it is dragged.
class PerDisplayCards : public QWidget {
public:
    explicit PerDisplayCards(AppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    struct Card {
        QWidget* frame = nullptr;
        StyledLabel* name = nullptr;
        QAbstractButton* enabled = nullptr;
        QWidget* sliders = nullptr;
        settingsui::SliderRow* kelvin = nullptr;
        settingsui::SliderRow* brightness = nullptr;
    };

    Card makeCard(std::uint32_t displayID);
    // Replaces one field of the display's record as it stands now and stores it.
    template <class Change>
    void write(std::uint32_t displayID, Change change);

    AppState& state_;
    QVBoxLayout* layout_;
    StyledLabel* empty_;
    std::map<std::uint32_t, Card> cards_;
};

}  // namespace solvara
