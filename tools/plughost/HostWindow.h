// HostWindow.h — the top-level window plughost gives an editor.
//
//   HostWindow        one window of this system's window system: its handle as
//                     effEditOpen wants it, event pumping, synthetic clicks and
//                     a screenshot of its client area
//   createHostWindow  X11 on Linux, Win32 on Windows; null and a reason when
//                     no window system is reachable
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plughost {

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // row after row, 3 bytes a pixel
};

class HostWindow {
public:
    virtual ~HostWindow() = default;
    // X11: the Window id cast to void*; Win32: the HWND.
    virtual void* handle() const = 0;
    // Whether the editor made a window inside ours.
    virtual bool hasChildWindow() = 0;
    // Handles every pending event of this window system, without waiting.
    virtual void pump() = 0;
    // Left button down / up at a point of the client area. `method` names how.
    virtual bool press(int x, int y, std::string& method) = 0;
    virtual bool release(int x, int y) = 0;
    // The pointer moves with the left button held; the Control key goes down or up.
    virtual bool move(int x, int y) = 0;
    virtual bool controlKey(bool down) = 0;
    // Two presses and releases at a point, as the window system reports a double click.
    virtual bool doubleClick(int x, int y, std::string& method) = 0;
    // The wheel turned `steps` notches at a point, positive away from the user.
    virtual bool wheel(int x, int y, int steps) = 0;
    virtual bool capture(Screenshot& shot, std::string& error) = 0;
    // The user or the window manager asked to close the window.
    virtual bool closeRequested() const = 0;
};

std::unique_ptr<HostWindow> createHostWindow(int width, int height, const std::string& title, std::string& error);

bool savePng(const Screenshot& shot, const std::string& path);

}  // namespace plughost
