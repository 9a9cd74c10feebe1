#pragma once

#include <array>
#include <vector>

#include <QWidget>

#include "app/state/AppState.h"
#include "app/ui/kit/UiServices.h"

class QMenu;

namespace solvara {

class Dot;
class KelvinBar;
class ModeButton;
class Pill;
class PlainButton;
class StateSignals;
class StyledLabel;
class Switch;
class SymbolView;
class TransitionLabel;
class WidgetTransition;

// The window that opens from the tray item: one column 320 pixels wide showing what the filter
// does now (phase, kelvin and the sun's elevation, the melanopic readout, the kelvin bar), the
// nine everyday modes, up to three circadian hints, the countdown to the next eye break, and a
// footer that opens the main window, shares the program and quits.
//
// It holds no state: refresh() reads everything from the state on each of its (coalesced)
// change notices, shows and hides rows and never writes back; only the user's switch, mode,
// "Break Now", share and quit write or call. The light or dark look follows the state's
// decision (shouldUseDarkMode) from before the first frame on. The host (the tray) connects
// openMainWindowRequested() and quitRequested().
//
// While it is on screen, changes animate; the widgets take their new values and visibility at
// once and only the painting follows (see WidgetTransition): the numbers roll their changed
// digits, the phase name cross-fades and the phase dot's colour moves with it, the status dot's
// colour and the target pill's text move with a new kelvin, the selected mode's tint moves, the
// insights and the break row fade in and out from the top edge, "Morning Boost" fades and scales
// about its centre while the "Solar:" line above it cross-fades, and the sections below a row
// that came or went slide to their new places.
class MenuBarPopover : public QWidget {
    Q_OBJECT

public:
    static constexpr int popoverWidth = 320;
    static constexpr int padding = 16;
    static constexpr int sectionSpacing = 16;
    // Rows coming and going, the sections making room for them, and the sun's column as
    // "Morning Boost" comes or goes.
    static constexpr int layoutMilliseconds = 300;
    // The phase (name and dot), the kelvin number and the melanopic readout.
    static constexpr int readoutMilliseconds = 500;
    static constexpr int countdownMilliseconds = 300;
    static constexpr const char* shareText =
        "Check out Solvara \u2014 science-based screen color filtering for better sleep and eye health.";

    MenuBarPopover(AppState& state, UiServices& ui, QWidget* parent = nullptr);
    ~MenuBarPopover() override;

    // Reads the state into the widgets; cheap, and called on every change while shown.
    void refresh();

    QMenu* shareMenu() const { return shareMenu_; }

signals:
    void openMainWindowRequested();
    // The displays and the dimmer are already reset when this comes.
    void quitRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildHeader(QLayout* stack);
    void buildReadouts(QLayout* stack);
    void buildModeGrid(QLayout* stack);
    void buildInsights(QLayout* stack);
    void buildBreakRow(QLayout* stack);
    void buildFooter(QLayout* stack);
    void showShareMenu();
    void quit();

    AppState& state_;
    UiServices& ui_;
    StateSignals* signals_;

    Dot* phaseDot_ = nullptr;
    TransitionLabel* phaseLabel_ = nullptr;
    Switch* enableSwitch_ = nullptr;
    TransitionLabel* kelvinLabel_ = nullptr;
    QWidget* solarColumn_ = nullptr;
    TransitionLabel* solarLabel_ = nullptr;
    QWidget* boostLabel_ = nullptr;
    TransitionLabel* daylightValue_ = nullptr;
    Dot* statusDot_ = nullptr;
    TransitionLabel* ediValue_ = nullptr;
    Pill* targetPill_ = nullptr;
    KelvinBar* kelvinBar_ = nullptr;
    std::array<ModeButton*, 9> modeButtons_{};
    QWidget* insights_ = nullptr;
    QWidget* melatoninRow_ = nullptr;
    SymbolView* melatoninSymbol_ = nullptr;
    StyledLabel* melatoninText_ = nullptr;
    QWidget* sleepRow_ = nullptr;
    StyledLabel* sleepText_ = nullptr;
    QWidget* dstRow_ = nullptr;
    StyledLabel* dstText_ = nullptr;
    QWidget* breakRow_ = nullptr;
    TransitionLabel* breakCountdown_ = nullptr;
    PlainButton* breakNowButton_ = nullptr;
    PlainButton* shareButton_ = nullptr;
    QMenu* shareMenu_ = nullptr;
    WidgetTransition* boostTransition_ = nullptr;
    WidgetTransition* insightsTransition_ = nullptr;
    WidgetTransition* breakRowTransition_ = nullptr;
    // The stack's sections top to bottom, each with what slides it when the ones above change.
    struct Section {
        QWidget* widget;
        WidgetTransition* transition;
    };
    std::vector<Section> sections_;
};

}  // namespace solvara
