// Png.cpp — PNG output through stb_image_write.
#include "toolkit/Png.h"

#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

namespace toolkit {

bool savePng(const Image& image, const std::string& path) {
    if (image.width <= 0 || image.height <= 0) return false;
    std::vector<unsigned char> rgbBytes;
    rgbBytes.reserve(image.pixels.size() * 3);
    for (Pixel p : image.pixels) {
        rgbBytes.push_back(redOf(p));
        rgbBytes.push_back(greenOf(p));
        rgbBytes.push_back(blueOf(p));
    }
    return stbi_write_png(path.c_str(), image.width, image.height, 3, rgbBytes.data(), image.width * 3) != 0;
}

}  // namespace toolkit
