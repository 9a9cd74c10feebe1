#pragma once

#include <memory>
#include <vector>

#include "platform/Screens.h"

class QSocketNotifier;

namespace solvara {

class OverlayWidget;
class X11DesktopWatch;

// Screens from QGuiApplication, matched to the RandR display ids by output name, and overlay
// windows as Qt widgets (OverlayWidget).
//
// Translucent windows only blend under a compositing manager; without one an ARGB window shows
// its colour opaque and would black out the screen. So no overlay is created while none runs
// (logged once), and windows already up are hidden when the compositor goes away and shown
// again when one returns. Overlays are override-redirect windows that no window manager keeps
// on top, so whenever another window is stacked above them they are raised again, in level
// order together with every other top-level widget carrying OverlayWidget::levelProperty.
// Main thread only; construct after the QApplication.
class QtScreens : public Screens {
public:
    QtScreens();
    ~QtScreens() override;
    QtScreens(const QtScreens&) = delete;
    QtScreens& operator=(const QtScreens&) = delete;

    std::vector<ScreenInfo> screens() override;
    std::unique_ptr<OverlayWindow> createOverlayWindow(const OverlayWindowSpec& spec) override;

    // Raises every visible top-level widget that carries OverlayWidget::levelProperty, lowest
    // level first, so higher levels end up on top. Windows made elsewhere (break windows) set
    // the property and call this after showing.
    void restack();

private:
    struct Registry;

    void handleXEvents();
    void followCompositor(bool runs);
    std::vector<unsigned long> overlayWindowIds() const;

    std::unique_ptr<X11DesktopWatch> watch_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::shared_ptr<Registry> registry_;
    bool compositorRuns_ = false;
    bool unavailableLogged_ = false;
};

}  // namespace solvara
