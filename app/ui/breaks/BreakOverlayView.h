#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include <QWidget>

#include "app/state/AppStateTypes.h"
#include "app/ui/kit/Theme.h"

class QLabel;

namespace solvara {

class BreathingCircle;

// The content of a break window: a dark backdrop over the whole window and, centred on it, the
// layout of the chosen break-screen type ending in the seconds left. It shows what it is given
// and nothing else; a new countdown updates the same widgets, so the breathing circle keeps its
// breath.
class BreakOverlayView : public QWidget {
public:
    static constexpr double backdropOpacity = 0.85;

    BreakOverlayView(BreakScreenType breakScreenType, std::int64_t remainingSeconds, const Theme& theme,
                     QWidget* parent = nullptr);

    // Shows `breakScreenType`'s layout with `remainingSeconds`.
    void setContent(BreakScreenType breakScreenType, std::int64_t remainingSeconds);

    BreakScreenType breakScreenType() const { return breakScreenType_; }
    std::int64_t remainingSeconds() const { return remainingSeconds_; }
    // The countdown as shown ("20" or "20s").
    QString countdownText() const;
    BreathingCircle* breathingCircle() const { return breathingCircle_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layout {
        QWidget* page = nullptr;
        QLabel* countdown = nullptr;
        bool secondsSuffix = false;
    };

    QWidget* addPage();
    static std::size_t indexOf(BreakScreenType type);

    BreakScreenType breakScreenType_;
    std::int64_t remainingSeconds_;
    std::array<Layout, 4> layouts_{};  // in the order of the break-screen types
    BreathingCircle* breathingCircle_ = nullptr;
};

}  // namespace solvara
