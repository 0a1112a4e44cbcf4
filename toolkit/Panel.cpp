// Panel.cpp — panel painting and setters (each setter repaints only on change).
#include "toolkit/Panel.h"

namespace toolkit {

Panel::Panel(Control* parent, Rect bounds, Pixel color, BevelStyle outer, BevelStyle inner)
    : Control(parent, bounds), color_(color), outer_(outer), inner_(inner) {}

void Panel::setColor(Pixel color) {
    if (color == color_) return;
    color_ = color;
    invalidate();
}

void Panel::setBevelOuter(BevelStyle style) {
    if (style == outer_) return;
    outer_ = style;
    invalidate();
}

void Panel::setBevelInner(BevelStyle style) {
    if (style == inner_) return;
    inner_ = style;
    invalidate();
}

void Panel::setBevelWidth(int width) {
    if (width == bevelWidth_) return;
    bevelWidth_ = width;
    invalidate();
}

void Panel::setCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    invalidate();
}

void Panel::setFont(const Font& font) {
    if (font == font_) return;
    font_ = font;
    invalidate();
}

void Panel::paint(Canvas& canvas) {
    Rect r{0, 0, width(), height()};
    canvas.fillRect(r, color_);
    r = drawBevel(canvas, r, outer_, bevelWidth_);
    drawBevel(canvas, r, inner_, bevelWidth_);
    if (!caption_.empty()) {
        const TextExtent size = Canvas::textExtent(caption_, font_);
        canvas.textOut((width() - size.width) / 2, (height() - size.height) / 2, caption_, font_);
    }
}

}  // namespace toolkit
