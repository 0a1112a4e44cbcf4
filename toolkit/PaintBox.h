// PaintBox.h — a control whose face its owner draws in the onPaint handler.
#pragma once

#include <functional>

#include "toolkit/Control.h"

namespace toolkit {

class PaintBox : public Control {
public:
    PaintBox(Control* parent, Rect bounds) : Control(parent, bounds) {}

    // Receives a canvas with its origin at the box's top-left, clipped to the box.
    std::function<void(Canvas&)> onPaint;

    void paint(Canvas& canvas) override {
        if (onPaint) onPaint(canvas);
    }
};

}  // namespace toolkit
