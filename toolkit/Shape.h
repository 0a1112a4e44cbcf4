// Shape.h — a filled rectangle or ellipse with a one-pixel outline (lamps, pointers).
#pragma once

#include "toolkit/Colors.h"
#include "toolkit/Control.h"

namespace toolkit {

class Shape : public Control {
public:
    enum class Kind { rectangle, ellipse };

    Shape(Control* parent, Rect bounds, Kind kind, Pixel fill, Pixel outline);

    Kind kind() const { return kind_; }
    Pixel fill() const { return fill_; }
    void setFill(Pixel fill);  // repaints only on change
    Pixel outline() const { return outline_; }
    void setOutline(Pixel outline);

    bool isBackground() const override { return true; }
    void paint(Canvas& canvas) override;

private:
    Kind kind_;
    Pixel fill_;
    Pixel outline_;
};

}  // namespace toolkit
