#pragma once

#include <memory>
#include <vector>

#include "platform/Screens.h"
#include "platform/fake/FakeEventLog.h"

namespace solvara {

// What became of one overlay window; outlives the window handle so tests can look back.
struct FakeWindowRecord {
    OverlayWindowSpec spec;  // as created
    Color background;        // current
    OverlayDrawing drawing;  // current
    int backgroundChanges = 0;
    int drawingChanges = 0;
    bool orderedOut = false;
    bool destroyed = false;

    bool visible() const { return !orderedOut && !destroyed; }
};

class FakeOverlayWindow : public OverlayWindow {
public:
    FakeOverlayWindow(std::shared_ptr<FakeWindowRecord> record, FakeEventLog* events)
        : record_(std::move(record)), events_(events) {}
    ~FakeOverlayWindow() override;

    void setBackground(Color color) override;
    void setDrawing(const OverlayDrawing& drawing) override;
    void orderOut() override;
    Rect frame() const override { return record_->spec.frame; }

private:
    std::shared_ptr<FakeWindowRecord> record_;
    FakeEventLog* events_;
};

// Scripted screens; every overlay window created is recorded.
class FakeScreens : public Screens {
public:
    explicit FakeScreens(FakeEventLog* events = nullptr) : events_(events) {}

    std::vector<ScreenInfo> screens() override { return screenList; }
    std::unique_ptr<OverlayWindow> createOverlayWindow(const OverlayWindowSpec& spec) override;

    // Windows still shown (optionally only those at `level`).
    std::vector<std::shared_ptr<FakeWindowRecord>> visibleWindows() const;
    std::vector<std::shared_ptr<FakeWindowRecord>> visibleWindows(int level) const;
    // Windows whose handle was destroyed while still shown (closed without being ordered out).
    std::size_t closedWithoutOrderOut() const;

    // Scripted.
    std::vector<ScreenInfo> screenList;
    bool overlaysAvailable = true;

    // Recorded, in creation order.
    std::vector<std::shared_ptr<FakeWindowRecord>> windows;

private:
    FakeEventLog* events_;
};

}  // namespace solvara
