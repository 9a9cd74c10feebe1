#pragma once

#include <array>

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
class MenuBarPopover : public QWidget {
    Q_OBJECT

public:
    static constexpr int popoverWidth = 320;
    static constexpr int padding = 16;
    static constexpr int sectionSpacing = 16;
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
    StyledLabel* phaseLabel_ = nullptr;
    Switch* enableSwitch_ = nullptr;
    StyledLabel* kelvinLabel_ = nullptr;
    QWidget* solarColumn_ = nullptr;
    StyledLabel* solarLabel_ = nullptr;
    QWidget* boostLabel_ = nullptr;
    StyledLabel* daylightValue_ = nullptr;
    Dot* statusDot_ = nullptr;
    StyledLabel* ediValue_ = nullptr;
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
    StyledLabel* breakCountdown_ = nullptr;
    PlainButton* breakNowButton_ = nullptr;
    PlainButton* shareButton_ = nullptr;
    QMenu* shareMenu_ = nullptr;
};

}  // namespace solvara
