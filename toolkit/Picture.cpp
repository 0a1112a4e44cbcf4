// Picture.cpp — picture painting.
#include "toolkit/Picture.h"

namespace toolkit {

Picture::Picture(Control* parent, Rect bounds, bool stretch) : Control(parent, bounds), stretch_(stretch) {}

void Picture::setPicture(const Image& picture) {
    picture_ = picture;
    invalidate();
}

void Picture::setStretch(bool stretch) {
    if (stretch == stretch_) return;
    stretch_ = stretch;
    invalidate();
}

void Picture::paint(Canvas& canvas) {
    if (picture_.width <= 0 || picture_.height <= 0) return;
    if (stretch_)
        canvas.stretchDraw(picture_, Rect{0, 0, width(), height()});
    else
        canvas.draw(picture_, 0, 0);
}

}  // namespace toolkit
