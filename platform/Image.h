// Image.h — the one pixel format of the panels: 32-bit pixels 0xAARRGGBB.
//
// In memory (little-endian) the bytes are B, G, R, A: what a 32-bit Windows DIB
// and a 24-bit-depth X11 ZPixmap expect, so backends blit without converting.
// It sits at the bottom of the tree: the window backends present it and the
// toolkit draws into it (toolkit/Image.h gives it the toolkit's names).
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

using Pixel = std::uint32_t;

constexpr Pixel rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return 0xFF000000u | (static_cast<Pixel>(red) << 16) | (static_cast<Pixel>(green) << 8) | blue;
}
constexpr std::uint8_t redOf(Pixel p) { return static_cast<std::uint8_t>(p >> 16); }
constexpr std::uint8_t greenOf(Pixel p) { return static_cast<std::uint8_t>(p >> 8); }
constexpr std::uint8_t blueOf(Pixel p) { return static_cast<std::uint8_t>(p); }

struct Image {
    Image() = default;
    Image(int width, int height, Pixel fill = rgb(0, 0, 0))
        : width(width), height(height), pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

    Pixel& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
    Pixel at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;
};

}  // namespace platform
