// Bevel.cpp — bevel rings and the bevel control.
#include "toolkit/Bevel.h"

#include "toolkit/Colors.h"

namespace toolkit {

Rect drawBevel(Canvas& canvas, const Rect& rect, BevelStyle style, int width) {
    Rect r = rect;
    if (style == BevelStyle::none) return r;
    const Pixel topLeft = style == BevelStyle::raised ? colors::buttonHighlight : colors::buttonShadow;
    const Pixel bottomRight = style == BevelStyle::raised ? colors::buttonShadow : colors::buttonHighlight;
    for (int i = 0; i < width && !r.empty(); ++i) {
        canvas.fillRect(Rect{r.left, r.top, r.right, r.top + 1}, topLeft);
        canvas.fillRect(Rect{r.left, r.top, r.left + 1, r.bottom}, topLeft);
        canvas.fillRect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
        canvas.fillRect(Rect{r.right - 1, r.top + 1, r.right, r.bottom}, bottomRight);
        r = Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    return r;
}

Bevel::Bevel(Control* parent, Rect bounds, Shape shape, BevelStyle style)
    : Control(parent, bounds), shape_(shape), style_(style) {}

void Bevel::setShape(Shape shape) {
    if (shape == shape_) return;
    shape_ = shape;
    invalidate();
}

void Bevel::setStyle(BevelStyle style) {
    if (style == style_) return;
    style_ = style;
    invalidate();
}

void Bevel::paint(Canvas& canvas) {
    if (style_ == BevelStyle::none) return;
    const int w = width(), h = height();
    if (shape_ == Shape::box) {
        drawBevel(canvas, Rect{0, 0, w, h}, style_);
        return;
    }
    // A groove (lowered) or ridge (raised): two offset one-colour rectangles.
    const Pixel outer = style_ == BevelStyle::lowered ? colors::buttonShadow : colors::buttonHighlight;
    const Pixel inner = style_ == BevelStyle::lowered ? colors::buttonHighlight : colors::buttonShadow;
    canvas.frameRect(Rect{1, 1, w, h}, inner);
    canvas.frameRect(Rect{0, 0, w - 1, h - 1}, outer);
}

}  // namespace toolkit
