#include "platform/linux/XEventConnection.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>

// After Qt: Xlib's macros break Qt's headers.
#include <X11/Xlib.h>

namespace solvara {

void XEventConnection::DisplayCloser::operator()(_XDisplay* display) const { XCloseDisplay(display); }

XEventConnection::XEventConnection() : display_(XOpenDisplay(nullptr)), context_(std::make_unique<QObject>()) {
    if (!display_) return;
    notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display_.get()), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, context_.get(), [this] { drain(); });
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, context_.get(), [this] { drain(); });
    }
}

XEventConnection::~XEventConnection() {
    notifier_.reset();
    context_.reset();
}

unsigned long XEventConnection::root() const { return display_ ? DefaultRootWindow(display_.get()) : 0; }

void XEventConnection::drain() {
    if (!display_ || draining_) return;
    draining_ = true;
    // XPending reads what the socket holds; the loop ends when Xlib's queue is empty.
    while (XPending(display_.get()) > 0) {
        XEvent event;
        XNextEvent(display_.get(), &event);
        if (handler_) handler_(event);
    }
    draining_ = false;
}

}  // namespace solvara
