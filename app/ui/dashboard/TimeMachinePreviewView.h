#pragma once

#include <optional>

#include <QWidget>

#include "core/engine/CircadianEngine.h"

class QBoxLayout;
class QLabel;
class QPushButton;
class QSpacerItem;
class QSlider;
class QVariantAnimation;

namespace solvara {

class AppState;
class SymbolView;
class WidgetTransition;

// A card that previews any quarter hour of today: what the engine would give at that moment at
// the user's place (colour temperature with a swatch, phase, sun elevation, melanopic share).
// It asks the engine only; no setting and no display changes. Idle, the slider stands at the
// present time; the first user move of the slider starts a preview, Reset ends it.
//
// Reset plays the way back to idle in the default animation while the card is idle at once:
// Reset and the preview rows are hidden and fade out as pictures where they stood, and the
// card, holding its old height at first, closes to its idle height (what lies below moves up
// with it); the header row, taller with Reset, shrinks with it, and the slider row covers the
// rows' picture as it moves up over their place. Nothing of it stays behind at the end.
class TimeMachinePreviewView : public QWidget {
    Q_OBJECT

public:
    explicit TimeMachinePreviewView(AppState& state, QWidget* parent = nullptr);

    void refresh();

    bool isPreviewing() const { return active_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Swatch;

    void onSliderMoved(int index);
    void onReset();
    void updatePreview();
    void closeTo(double progress);
    // The header row's least height (0: its own).
    void holdHeader(int height);
    void stopClosing();

    AppState& state_;
    // Presentation state: the chosen hour (never shown before the slider sets one), its state.
    double previewHour_ = -1.0;
    std::optional<CircadianEngine::CircadianState> previewState_;
    bool active_ = false;

    SymbolView* symbol_ = nullptr;
    QPushButton* reset_ = nullptr;
    WidgetTransition* resetTransition_ = nullptr;
    QWidget* previewBlock_ = nullptr;
    WidgetTransition* previewTransition_ = nullptr;
    QVariantAnimation* closing_ = nullptr;
    // While the card closes: its heights and the header row's, open and idle.
    struct Closing {
        int open = 0;
        int idle = 0;
        int headerOpen = 0;
        int headerIdle = 0;
    } closingHeights_;
    QBoxLayout* header_ = nullptr;
    QSpacerItem* headerStrut_ = nullptr;
    QBoxLayout* sliderRow_ = nullptr;
    QWidget* previewRow_ = nullptr;
    Swatch* swatch_ = nullptr;
    QLabel* kelvin_ = nullptr;
    QLabel* phase_ = nullptr;
    QLabel* solar_ = nullptr;
    QLabel* melanopic_ = nullptr;
    QLabel* time_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* startLabel_ = nullptr;
    QLabel* endLabel_ = nullptr;
};

}  // namespace solvara
