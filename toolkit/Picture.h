// Picture.h — a control that shows an image, at its top-left or stretched.
#pragma once

#include "toolkit/Control.h"

namespace toolkit {

class Picture : public Control {
public:
    Picture(Control* parent, Rect bounds, bool stretch = false);

    const Image& picture() const { return picture_; }
    void setPicture(const Image& picture);
    // For drawing into the picture in place; call invalidate() afterwards.
    Image& editPicture() { return picture_; }
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch);

    bool isBackground() const override { return true; }
    void paint(Canvas& canvas) override;

private:
    Image picture_;
    bool stretch_;
};

}  // namespace toolkit
