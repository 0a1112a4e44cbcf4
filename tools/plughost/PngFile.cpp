// PngFile.cpp — screenshots to PNG through stb_image_write.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "tools/plughost/HostWindow.h"

namespace plughost {

bool savePng(const Screenshot& shot, const std::string& path) {
    if (shot.width <= 0 || shot.height <= 0) return false;
    return stbi_write_png(path.c_str(), shot.width, shot.height, 3, shot.rgb.data(), shot.width * 3) != 0;
}

}  // namespace plughost
