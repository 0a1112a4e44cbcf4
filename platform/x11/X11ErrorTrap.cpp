// X11ErrorTrap.cpp — the chained error handler and its nesting count.
#include "platform/x11/X11ErrorTrap.h"

namespace platform::x11 {

namespace {
// Only the editor thread uses our connection, so plain statics suffice.
Display* trappedDisplay = nullptr;
XErrorHandler previousHandler = nullptr;
int depth = 0;
unsigned long errorCount = 0;

int trapHandler(Display* display, XErrorEvent* event) {
    if (display == trappedDisplay) {
        ++errorCount;
        return 0;
    }
    return previousHandler != nullptr ? previousHandler(display, event) : 0;
}
}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display), errorsAtStart_(errorCount) {
    if (depth++ == 0) {
        trappedDisplay = display;
        previousHandler = XSetErrorHandler(trapHandler);
    }
}

X11ErrorTrap::~X11ErrorTrap() {
    if (--depth == 0) {
        XSync(display_, False);
        XSetErrorHandler(previousHandler);
        previousHandler = nullptr;
        trappedDisplay = nullptr;
    }
}

bool X11ErrorTrap::syncFailed() {
    XSync(display_, False);
    return errorCount != errorsAtStart_;
}

}  // namespace platform::x11
