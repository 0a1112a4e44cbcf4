// Win32WindowClass.h — the one window class of this library and its procedure.
//
//   MessageTarget        an object that handles the messages of one HWND
//   acquireWindowClass   registers the class with this library's own module
//                        handle on first use (so two of our plug-ins in one host
//                        never share or unregister each other's class)
//   releaseWindowClass   unregisters it when the last window is gone, so the
//                        host may unload the library
//   createTargetWindow   CreateWindowExW with the target attached to the HWND
//   detachTarget         stops messages reaching a target that is going away
#pragma once

#include <windows.h>

namespace platform::win32 {

class MessageTarget {
public:
    virtual LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~MessageTarget() = default;
};

// Returns the class name, or null if the class could not be registered.
const wchar_t* acquireWindowClass();
void releaseWindowClass();
HINSTANCE libraryModule();

// The class must have been acquired. Returns null on failure.
HWND createTargetWindow(DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent,
                        const wchar_t* title, MessageTarget& target);
void detachTarget(HWND window);

}  // namespace platform::win32
