// Shape.cpp — shape painting and setters.
#include "toolkit/Shape.h"

namespace toolkit {

Shape::Shape(Control* parent, Rect bounds, Kind kind, Pixel fill, Pixel outline)
    : Control(parent, bounds), kind_(kind), fill_(fill), outline_(outline) {}

void Shape::setFill(Pixel fill) {
    if (fill == fill_) return;
    fill_ = fill;
    invalidate();
}

void Shape::setOutline(Pixel outline) {
    if (outline == outline_) return;
    outline_ = outline;
    invalidate();
}

void Shape::paint(Canvas& canvas) {
    const Rect whole{0, 0, width(), height()};
    if (kind_ == Kind::ellipse) {
        canvas.ellipse(whole, fill_, outline_);
        return;
    }
    canvas.fillRect(whole, fill_);
    if (width() > 2 && height() > 2) canvas.frameRect(whole, outline_);
}

}  // namespace toolkit
