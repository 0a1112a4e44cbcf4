// ImageList.h — a row of equally sized pictures drawn by index (button faces).
#pragma once

#include <vector>

#include "toolkit/Canvas.h"

namespace toolkit {

class ImageList {
public:
    ImageList(int width, int height) : width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    int count() const { return static_cast<int>(frames_.size()); }
    // Adds a frame; it is cut or padded (black) to the list's size.
    void add(const Image& frame);
    const Image& frame(int index) const { return frames_[static_cast<std::size_t>(index)]; }
    // Draws frame `index` with its top-left at (x, y); an index outside the list draws nothing.
    void draw(Canvas& canvas, int index, int x, int y) const;

private:
    int width_;
    int height_;
    std::vector<Image> frames_;
};

}  // namespace toolkit
