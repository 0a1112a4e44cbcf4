// X11Blitter.cpp — direct and converting XPutImage paths.
#include "platform/x11/X11Blitter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform::x11 {

namespace {
constexpr bool hostIsLittleEndian() {
    return static_cast<std::uint8_t>(std::uint16_t{1}) == 1;
}

int bitsPerPixelForDepth(Display* display, int depth) {
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    int bits = 0;
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth) bits = formats[i].bits_per_pixel;
    }
    if (formats != nullptr) XFree(formats);
    return bits;
}
}  // namespace

unsigned long X11Blitter::Channel::place(unsigned value8) const {
    // Scale 8 bits to the channel's width: drop low bits, or repeat the top ones below.
    unsigned long value = 0;
    if (bits >= 8) {
        value = static_cast<unsigned long>(value8) << (bits - 8);
        if (bits > 8 && bits <= 16) value |= value8 >> (16 - bits);
    } else {
        value = value8 >> (8 - bits);
    }
    return (value << shift) & mask;
}

X11Blitter::X11Blitter(Display* display, Visual* visual, int depth) : display_(display), visual_(visual), depth_(depth) {
    if (visual == nullptr || (visual->c_class != TrueColor && visual->c_class != DirectColor)) return;
    bitsPerPixel_ = bitsPerPixelForDepth(display, depth);
    if (bitsPerPixel_ == 0) return;
    auto describe = [](unsigned long mask) {
        Channel channel;
        channel.mask = mask;
        while (mask != 0 && (mask & 1) == 0) {
            mask >>= 1;
            ++channel.shift;
        }
        while ((mask & 1) != 0) {
            mask >>= 1;
            ++channel.bits;
        }
        return channel;
    };
    red_ = describe(visual->red_mask);
    green_ = describe(visual->green_mask);
    blue_ = describe(visual->blue_mask);
    if (red_.bits == 0 || green_.bits == 0 || blue_.bits == 0) return;
    usable_ = true;
    direct_ = (depth == 24 || depth == 32) && bitsPerPixel_ == 32 && visual->red_mask == 0xFF0000 &&
              visual->green_mask == 0x00FF00 && visual->blue_mask == 0x0000FF;
}

X11Blitter::~X11Blitter() {
    if (buffer_ != nullptr) {
        buffer_->data = nullptr;  // owned by bufferData_
        XDestroyImage(buffer_);
    }
}

void X11Blitter::ensureBuffer(int width, int height) {
    if (buffer_ != nullptr && buffer_->width >= width && buffer_->height >= height) return;
    if (buffer_ != nullptr) {
        width = std::max(width, buffer_->width);
        height = std::max(height, buffer_->height);
        buffer_->data = nullptr;
        XDestroyImage(buffer_);
        buffer_ = nullptr;
    }
    buffer_ = XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                           static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (buffer_ == nullptr) return;
    bufferData_.assign(static_cast<std::size_t>(buffer_->bytes_per_line) * static_cast<std::size_t>(height), 0);
    buffer_->data = bufferData_.data();
}

void X11Blitter::put(Drawable drawable, GC gc, const Image& image, int left, int top, int right, int bottom) {
    if (!usable_) return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.width);
    bottom = std::min(bottom, image.height);
    if (left >= right || top >= bottom) return;
    const int width = right - left;
    const int height = bottom - top;

    if (direct_) {
        // The image's own memory is the ZPixmap: B, G, R, A bytes in a 32-bit pixel.
        // The header lives on the stack and is filled in by hand: no allocation per blit.
        XImage view{};
        view.width = image.width;
        view.height = image.height;
        view.format = ZPixmap;
        view.data = reinterpret_cast<char*>(const_cast<Pixel*>(image.pixels.data()));
        view.byte_order = hostIsLittleEndian() ? LSBFirst : MSBFirst;
        view.bitmap_unit = 32;
        view.bitmap_bit_order = view.byte_order;
        view.bitmap_pad = 32;
        view.depth = depth_;
        view.bytes_per_line = image.width * 4;
        view.bits_per_pixel = 32;
        view.red_mask = visual_->red_mask;
        view.green_mask = visual_->green_mask;
        view.blue_mask = visual_->blue_mask;
        if (XInitImage(&view) == 0) return;
        XPutImage(display_, drawable, gc, &view, left, top, left, top, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
        return;
    }

    ensureBuffer(width, height);
    if (buffer_ == nullptr) return;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Pixel p = image.at(left + x, top + y);
            XPutPixel(buffer_, x, y,
                      red_.place(redOf(p)) | green_.place(greenOf(p)) | blue_.place(blueOf(p)));
        }
    }
    XPutImage(display_, drawable, gc, buffer_, 0, 0, left, top, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
}

}  // namespace platform::x11
