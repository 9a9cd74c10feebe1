#include "tests/x11/shell/FakeSensorProxy.h"

// The class is all in its header; this file gives moc a source to attach it to.
