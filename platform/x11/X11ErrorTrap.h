// X11ErrorTrap.h — keeps X protocol errors of our own connection from ending the host.
//
//   X11ErrorTrap  while one exists, errors on our Display are counted instead of
//                 reaching Xlib's default handler (which exits the process);
//                 errors on any other Display (the host's) go on to the handler
//                 that was installed before. The outermost trap syncs and
//                 restores the previous handler when it ends.
//
// The host may destroy its window (and with it our child) before it closes the
// editor, so a request on a dead window is an ordinary event here, not a fault.
#pragma once

#include <X11/Xlib.h>

namespace platform::x11 {

class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Waits for the server to answer everything sent so far; true if any
    // request since this trap began failed.
    bool syncFailed();

private:
    Display* display_;
    unsigned long errorsAtStart_;
};

}  // namespace platform::x11
