// Label.cpp — label painting, auto-size and setters.
#include "toolkit/Label.h"

namespace toolkit {

Label::Label(Control* parent, int left, int top, const std::string& text, const Font& font)
    : Control(parent, Rect{left, top, left, top}), text_(text), font_(font) {
    fitToText();
}

Label::Label(Control* parent, Rect bounds, const std::string& text, const Font& font, Alignment alignment)
    : Control(parent, bounds), text_(text), font_(font), alignment_(alignment), autoSize_(false) {}

void Label::fitToText() {
    if (!autoSize_) return;
    const TextExtent size = Canvas::textExtent(text_, font_);
    setSize(size.width, size.height);
}

void Label::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    fitToText();
    invalidate();
}

void Label::setFont(const Font& font) {
    if (font == font_) return;
    font_ = font;
    fitToText();
    invalidate();
}

void Label::setFontColor(Pixel color) {
    Font font = font_;
    font.color = color;
    setFont(font);
}

void Label::setAlignment(Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    invalidate();
}

void Label::setTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    invalidate();
}

void Label::setColor(Pixel color) {
    if (color == color_) return;
    color_ = color;
    invalidate();
}

void Label::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    fitToText();
}

void Label::setCentreVertically(bool centre) {
    if (centre == centreVertically_) return;
    centreVertically_ = centre;
    invalidate();
}

void Label::paint(Canvas& canvas) {
    if (!transparent_) canvas.fillRect(Rect{0, 0, width(), height()}, color_);
    if (text_.empty()) return;
    const TextExtent size = Canvas::textExtent(text_, font_);
    int x = 0;
    if (alignment_ == Alignment::centre) x = (width() - size.width) / 2;
    if (alignment_ == Alignment::right) x = width() - size.width;
    const int y = centreVertically_ ? (height() - size.height) / 2 : 0;
    canvas.textOut(x, y, text_, font_);
}

}  // namespace toolkit
