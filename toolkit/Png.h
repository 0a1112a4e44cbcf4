// Png.h — saving an image as a PNG file (screenshots, tests, tools).
#pragma once

#include <string>

#include "toolkit/Image.h"

namespace toolkit {

// Writes `image` as an 8-bit RGB PNG; false when the file cannot be written.
bool savePng(const Image& image, const std::string& path);

}  // namespace toolkit
