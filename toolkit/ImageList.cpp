// ImageList.cpp — adding and drawing frames.
#include "toolkit/ImageList.h"

namespace toolkit {

void ImageList::add(const Image& frame) {
    Image sized(width_, height_, rgb(0, 0, 0));
    Canvas(sized).draw(frame, 0, 0);
    frames_.push_back(std::move(sized));
}

void ImageList::draw(Canvas& canvas, int index, int x, int y) const {
    if (index < 0 || index >= count()) return;
    canvas.draw(frames_[static_cast<std::size_t>(index)], x, y);
}

}  // namespace toolkit
