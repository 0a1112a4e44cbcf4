// PanelArtwork.h — the pictures of the tuner panel, drawn by code.
//
//   Palette of the panel     the named colours the layout uses
//   woodGrain                the panel's wood-grain background
//   centsScale               the scale picture without its figures (marks, centre band)
//   scaleMarkX               where a mark for a cents value sits on the scale picture
//   infoGlyph, helpGlyph,    the glyphs of the three picture buttons
//   hideGlyph
//
// Integer arithmetic only, so that every build paints the same pixels.
#pragma once

#include "toolkit/Image.h"

namespace tonemark {

namespace colours {
constexpr toolkit::Pixel black = toolkit::rgb(0, 0, 0);
constexpr toolkit::Pixel white = toolkit::rgb(255, 255, 255);
constexpr toolkit::Pixel silver = toolkit::rgb(192, 192, 192);
constexpr toolkit::Pixel grey = toolkit::rgb(128, 128, 128);
constexpr toolkit::Pixel maroon = toolkit::rgb(128, 0, 0);
constexpr toolkit::Pixel red = toolkit::rgb(255, 0, 0);
constexpr toolkit::Pixel darkGreen = toolkit::rgb(0, 128, 0);
constexpr toolkit::Pixel lime = toolkit::rgb(0, 255, 0);
// The scale's light background.
constexpr toolkit::Pixel scalePaper = toolkit::rgb(246, 244, 236);
}  // namespace colours

toolkit::Image woodGrain(int width, int height);

// The scale picture: 400 × 50 on the panel, 4 pixels a cent; marks every 50 pixels
// (12.5 cents) and a longer one in the middle, under room for the figures.
toolkit::Image centsScale(int width, int height);
int scaleMarkX(double cents, int width);

toolkit::Image infoGlyph(int width, int height);
toolkit::Image helpGlyph(int width, int height);
toolkit::Image hideGlyph(int width, int height);

}  // namespace tonemark
