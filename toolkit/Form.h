// Form.h — the borderless panel at the root of a control tree, and its window.
//
//   Form   a Control that owns the off-screen image of the whole tree, implements
//          platform::WindowClient for one platform::NativeWindow, and routes the
//          window's mouse and key input to the controls
//
// How a panel uses it:
//   class TuFFTForm : public toolkit::Form {
//       toolkit::Panel Panel4{this, Rect::ofSize(23, 15, 402, 52)};   // parents first
//       toolkit::Label freqLbl{&Panel1, ...};
//       toolkit::Timer Timer1{*this, 250, [this] { Timer1Timer(); }};
//   };
//   The form is built with the effect's platform::WindowSystem and its size, then
//   openChild(hostWindow) makes it a child of the host's window and shows it
//   (openChildHidden and a later show() to set the controls up in between);
//   closeWindow() or destroying the form removes the window. Dialogs use
//   openTopLevel. Controls change their look through their setters, which
//   invalidate; nothing is drawn until the window asks, unless a control
//   repaints at once (Control::repaint, through presentNow).
//
// How a backend uses it (it sees only platform::WindowClient; windows start
// hidden and the form shows them):
//   - paint() returns the up-to-date image of the whole form (width x height,
//     0xAARRGGBB); blit it 1:1. It repaints only what was invalidated since the
//     last call, into the same image, so calling it is cheap and allocation-free.
//   - Every NativeWindow::invalidate call from the form means "ask paint() soon";
//     presentNow means "ask it now and show the result before returning".
//   - mouseEvent: client coordinates. Send Type::press for a first press and
//     Type::doubleClick instead of press for the second press of a double click
//     (WM_xBUTTONDBLCLK, or two presses within the system's double-click time
//     and distance on X11), then the release as usual. The form asks for
//     captureMouse(true) on a press and captureMouse(false) on the release;
//     while captured, moves and the release must reach the form even outside
//     the window. Moves without a button held are welcome too.
//   - Type::wheel with wheelSteps (positive away from the user) for the wheel,
//     at the pointer's client position; it goes to the control there.
//   - keyEvent: key presses while the window has the keyboard focus.
//   - closeRequested: the user closed a top-level window (close box, window
//     manager). The form hides the window; the NativeWindow object itself is
//     destroyed later by its owner, never from inside a call into the client,
//     so a backend may go on using its window object after any client call.
//   - Timers: toolkit::Timer never destroys a platform::Timer from inside that
//     timer's own tick callback.
//
// Zoom: controls keep their logical (design) coordinates; the form's image and
// window are the zoomed size (deviceWidth x deviceHeight), painted through a
// zoomed canvas, and the window's mouse positions are mapped back to logical
// pixels before routing, so a click lands on the same control at every zoom.
//
// Input routing: a press goes to the deepest showing control under the pointer
// (a disabled one swallows it) and captures it until the release, which goes to
// the same control; a left press and release on the same control, with the
// release inside it, raises its click() just before its mouseUp. The second
// press of a double click raises doubleClick() and then mouseDown, and no click,
// except on controls whose secondPressClicks() is true (push buttons): there it
// is an ordinary press and clicks like the first.
// A press on a focusable control gives it the keyboard; Enter clicks the
// default button, if one is set.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/NativeWindow.h"
#include "toolkit/Control.h"
#include "toolkit/Image.h"
#include "toolkit/Zoom.h"

namespace toolkit {

class Form : public Control, public platform::WindowClient {
public:
    Form(platform::WindowSystem& windows, int width, int height, Pixel color = rgb(0, 0, 0));
    ~Form() override;

    Form* asForm() override { return this; }
    platform::WindowSystem& windowSystem() const { return *windows_; }
    // The state of the Control key now (for handlers that act differently with it).
    bool controlKeyDown() const { return windows_->controlKeyDown(); }

    // Makes the form a borderless child of the host's window and shows it.
    void openChild(void* parentWindow);
    // The same, hidden until show(): an owner that sets the controls up first
    // shows them complete.
    void openChildHidden(void* parentWindow);
    // Shows the window again (after openChildHidden, or after it was hidden).
    void show();
    // Makes the form a top-level dialog window and shows it.
    void openTopLevel(const std::string& title, bool alwaysOnTop);
    // Destroys the window (the controls stay). Not from inside a window callback:
    // there, use requestClose.
    void closeWindow();
    // Hides the window at once and lets it go at the next closeWindow, reopening
    // or destruction; isStillWindow turns false immediately.
    void requestClose();
    // The window exists and has not been closed (the "is still a window" test).
    bool isStillWindow() const;
    platform::NativeWindow* window() const { return window_.get(); }

    // The zoom of the image and window; a change resizes both and repaints all.
    const Zoom& zoom() const { return zoom_; }
    void setZoom(Zoom zoom);
    int deviceWidth() const { return zoom_.toDevice(width()); }
    int deviceHeight() const { return zoom_.toDevice(height()); }

    Pixel color() const { return color_; }
    void setColor(Pixel color);
    void setBounds(const Rect& bounds) override;
    void paint(Canvas& canvas) override;

    void setDefaultButton(Control* button) { defaultButton_ = button; }
    Control* focusedControl() const { return focus_; }
    void setFocus(Control* control);

    // Raised by a right press on the form's background (form coordinates).
    std::function<void(int x, int y)> onContextMenu;
    bool isBackground() const override { return true; }

    // Raised when the user closes a top-level window; the default hides it (requestClose).
    std::function<void()> onCloseRequest;

    // platform::WindowClient
    const Image& paint() override;
    void mouseEvent(const platform::MouseEvent& event) override;
    void keyEvent(const platform::KeyEvent& event) override;
    void closeRequested() override;

    // Called by controls: marks a rectangle (form coordinates) for repainting.
    void invalidateRect(const Rect& rect);
    // Paints what is marked and has the window show it at once.
    void presentNow();
    // Called by controls that hide, are disabled or go away (`destroyed`): drops
    // capture, focus and a pending click on them or their children.
    void forget(Control* control, bool destroyed);

    const Image& image() const { return image_; }

private:
    void paintTree(Control& control, const Canvas& parentCanvas, int left, int top);
    void openWindow(std::unique_ptr<platform::NativeWindow> window);

    void resizeImage();

    platform::WindowSystem* windows_;
    std::unique_ptr<platform::NativeWindow> window_;
    Zoom zoom_;
    bool closing_ = false;
    Pixel color_;
    Image image_;
    Rect dirty_;
    Control* capture_ = nullptr;
    Control* clickTarget_ = nullptr;  // left press awaiting its release
    Control* inHandler_ = nullptr;    // the control whose click handler runs
    Control* focus_ = nullptr;
    Control* defaultButton_ = nullptr;
};

}  // namespace toolkit
