// Image.h — the panels' pixel image under the toolkit's names.
//
// The type itself lives in platform/Image.h, so the window backends can present
// it without including the toolkit.
#pragma once

#include "platform/Image.h"

namespace toolkit {

using platform::blueOf;
using platform::greenOf;
using platform::Image;
using platform::Pixel;
using platform::redOf;
using platform::rgb;

}  // namespace toolkit
