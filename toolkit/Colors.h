// Colors.h — the named colours the panels and the toolkit's own drawing use.
#pragma once

#include "toolkit/Image.h"

namespace toolkit::colors {

constexpr Pixel black = rgb(0, 0, 0);
constexpr Pixel white = rgb(255, 255, 255);
constexpr Pixel silver = rgb(192, 192, 192);
constexpr Pixel gray = rgb(128, 128, 128);
constexpr Pixel maroon = rgb(128, 0, 0);
constexpr Pixel red = rgb(255, 0, 0);
constexpr Pixel green = rgb(0, 128, 0);
constexpr Pixel lime = rgb(0, 255, 0);
constexpr Pixel navy = rgb(0, 0, 128);
// The face, light edge and dark edge of three-dimensional controls.
constexpr Pixel buttonFace = rgb(212, 208, 200);
constexpr Pixel buttonHighlight = white;
constexpr Pixel buttonShadow = gray;
constexpr Pixel darkShadow = rgb(64, 64, 64);

}  // namespace toolkit::colors
