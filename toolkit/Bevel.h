// Bevel.h — three-dimensional edges: the drawing routine and the bevel control.
//
//   BevelStyle   none, raised (light top-left) or lowered/sunken (dark top-left)
//   drawBevel    one bevel ring of a given width just inside a rectangle
//   Bevel        a control that is only an edge: a box or a framed groove
#pragma once

#include "toolkit/Control.h"

namespace toolkit {

enum class BevelStyle { none, raised, lowered };

// Draws `width` rings inside `rect` and returns the rectangle left inside them.
Rect drawBevel(Canvas& canvas, const Rect& rect, BevelStyle style, int width = 1);

class Bevel : public Control {
public:
    enum class Shape { box, frame };
    Bevel(Control* parent, Rect bounds, Shape shape = Shape::frame, BevelStyle style = BevelStyle::lowered);

    Shape shape() const { return shape_; }
    void setShape(Shape shape);
    BevelStyle style() const { return style_; }
    void setStyle(BevelStyle style);

    void paint(Canvas& canvas) override;

private:
    Shape shape_;
    BevelStyle style_;
};

}  // namespace toolkit
