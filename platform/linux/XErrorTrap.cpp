#include "platform/linux/XErrorTrap.h"

namespace solvara::x11 {

namespace {
XErrorTrap* innermostTrap = nullptr;
}

XErrorTrap::XErrorTrap(Display* display)
    : display_(display), outer_(innermostTrap), previousHandler_(nullptr) {
    previousHandler_ = XSetErrorHandler(&XErrorTrap::handle);
    innermostTrap = this;
}

XErrorTrap::~XErrorTrap() {
    if (!synced_ && display_) XSync(display_, False);
    innermostTrap = outer_;
    XSetErrorHandler(previousHandler_);
}

int XErrorTrap::sync() {
    if (display_) XSync(display_, False);
    synced_ = true;
    return errorCount_;
}

int XErrorTrap::handle(Display* display, XErrorEvent* event) {
    for (XErrorTrap* trap = innermostTrap; trap; trap = trap->outer_) {
        if (trap->display_ != display) continue;
        if (trap->errorCount_ == 0) {
            trap->firstErrorCode_ = event->error_code;
            trap->firstRequestCode_ = event->request_code;
            trap->firstMinorCode_ = event->minor_code;
        }
        ++trap->errorCount_;
        return 0;
    }
    // Not one of ours: whoever handled errors before the outermost trap decides.
    XErrorTrap* outermost = innermostTrap;
    while (outermost && outermost->outer_) outermost = outermost->outer_;
    XErrorHandler previous = outermost ? outermost->previousHandler_ : nullptr;
    return previous ? previous(display, event) : 0;
}

}  // namespace solvara::x11
