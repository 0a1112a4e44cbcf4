// X11Blitter.h — puts a part of an image into an X window.
//
//   X11Blitter  picks, once per connection, how pixels reach the server:
//               directly from the image when the visual is 24/32-bit TrueColor
//               with 8-bit red, green, blue at the usual places (the common
//               case), or converted pixel by pixel into a buffer for any other
//               TrueColor/DirectColor layout (16-bit, 30-bit, swapped masks).
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

#include "platform/Image.h"

namespace platform::x11 {

class X11Blitter {
public:
    X11Blitter(Display* display, Visual* visual, int depth);
    ~X11Blitter();
    X11Blitter(const X11Blitter&) = delete;
    X11Blitter& operator=(const X11Blitter&) = delete;

    // False for visuals we cannot draw on (palette-based ones).
    bool usable() const { return usable_; }
    bool direct() const { return direct_; }
    // Copies the half-open rectangle [left, right) x [top, bottom) of image to
    // the same place in drawable; clipped to the image.
    void put(Drawable drawable, GC gc, const Image& image, int left, int top, int right, int bottom);

private:
    struct Channel {
        unsigned long mask = 0;
        int shift = 0;  // position of the mask's lowest bit
        int bits = 0;   // width of the mask
        unsigned long place(unsigned value8) const;
    };
    void ensureBuffer(int width, int height);

    Display* display_;
    Visual* visual_;
    int depth_;
    bool usable_ = false;
    bool direct_ = false;
    int bitsPerPixel_ = 32;
    Channel red_, green_, blue_;
    XImage* buffer_ = nullptr;  // conversion buffer, grown when needed, never shrunk
    std::vector<char> bufferData_;
};

}  // namespace platform::x11
