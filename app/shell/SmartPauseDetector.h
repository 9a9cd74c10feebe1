#pragma once

#include "platform/Workspace.h"

namespace solvara {

// Answers whether the frontmost application fills the screen, so filtering can step aside for
// films and games. Holds nothing but the workspace it asks.
class SmartPauseDetector {
public:
    explicit SmartPauseDetector(Workspace& workspace) : workspace_(workspace) {}

    // False with no frontmost application, or when the desktop cannot tell.
    bool isFrontmostAppFullScreen() const;

private:
    Workspace& workspace_;
};

}  // namespace solvara
