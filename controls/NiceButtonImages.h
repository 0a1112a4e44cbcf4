// NiceButtonImages.h — the face pictures of the LED buttons, drawn by code at start-up.
//
//   makeLampButtonImages  six 66 x 25 frames: grey capsule, pressed capsule, dark
//                         red lamp in a metal frame, the same pressed, the lamp
//                         glowing bright red, the same pressed (the pressed lamp
//                         frames are the unpressed ones moved one pixel down-right)
//   makePeakButtonImages  two 27 x 16 frames: a downward triangle with a red
//                         ball, and the same pressed
#pragma once

#include "toolkit/ImageList.h"

namespace controls {

toolkit::ImageList makeLampButtonImages();
toolkit::ImageList makePeakButtonImages();

}  // namespace controls
