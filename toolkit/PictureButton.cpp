// PictureButton.cpp — button face, glyphs of the standard kinds, pressed state.
#include "toolkit/PictureButton.h"

#include "toolkit/Bevel.h"

namespace toolkit {
namespace {
constexpr Pixel glyphBackground = rgb(255, 0, 255);  // the transparent colour of the drawn glyphs
}

Image okGlyph() {
    Image glyph(18, 18, glyphBackground);
    Canvas canvas(glyph);
    // A check mark two pixels thick: down-right stroke, then the long up-right stroke.
    for (int t = 0; t < 3; ++t) {
        canvas.line(3, 9 + t, 7, 13 + t, colors::green);
        canvas.line(7, 13 + t, 15, 5 + t, colors::green);
    }
    return glyph;
}

Image cancelGlyph() {
    Image glyph(18, 18, glyphBackground);
    Canvas canvas(glyph);
    for (int t = 0; t < 2; ++t) {
        canvas.line(4 + t, 4, 14 + t, 14, colors::red);
        canvas.line(14 + t, 4, 4 + t, 14, colors::red);
    }
    return glyph;
}

PictureButton::PictureButton(Control* parent, Rect bounds, const std::string& caption, Kind kind)
    : Control(parent, bounds), caption_(caption), font_{13, kind != Kind::custom, colors::black} {
    if (kind == Kind::ok) {
        glyph_ = okGlyph();
        if (caption_.empty()) caption_ = "OK";
    } else if (kind == Kind::cancel) {
        glyph_ = cancelGlyph();
        if (caption_.empty()) caption_ = "Cancel";
    }
}

void PictureButton::setCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    invalidate();
}

void PictureButton::setFont(const Font& font) {
    if (font == font_) return;
    font_ = font;
    invalidate();
}

void PictureButton::setGlyph(const Image& glyph) {
    glyph_ = glyph;
    invalidate();
}

void PictureButton::setColor(Pixel color) {
    if (color == color_) return;
    color_ = color;
    invalidate();
}

void PictureButton::setFlat(bool flat) {
    if (flat == flat_) return;
    flat_ = flat;
    invalidate();
}

void PictureButton::paint(Canvas& canvas) {
    const Rect whole{0, 0, width(), height()};
    canvas.fillRect(whole, color_);
    const bool down = showsPressed();
    if (down) {
        canvas.frameRect(whole, colors::darkShadow);
        drawBevel(canvas, Rect{1, 1, width() - 1, height() - 1}, BevelStyle::lowered);
    } else if (!flat_) {
        canvas.fillRect(Rect{0, height() - 1, width(), height()}, colors::darkShadow);
        canvas.fillRect(Rect{width() - 1, 0, width(), height()}, colors::darkShadow);
        drawBevel(canvas, Rect{0, 0, width() - 1, height() - 1}, BevelStyle::raised);
    }
    // Glyph and caption side by side, centred together.
    const int shift = down ? 1 : 0;
    const bool hasGlyph = glyph_.width > 0 && glyph_.height > 0;
    const TextExtent text = caption_.empty() ? TextExtent{} : Canvas::textExtent(caption_, font_);
    const int spacing = hasGlyph && !caption_.empty() ? 4 : 0;
    const int total = (hasGlyph ? glyph_.width : 0) + spacing + text.width;
    int x = (width() - total) / 2 + shift;
    if (hasGlyph) {
        const int gy = (height() - glyph_.height) / 2 + shift;
        const Pixel transparent = glyph_.at(0, glyph_.height - 1);
        for (int y = 0; y < glyph_.height; ++y)
            for (int gx = 0; gx < glyph_.width; ++gx)
                if (glyph_.at(gx, y) != transparent) canvas.setPixel(x + gx, gy + y, glyph_.at(gx, y));
        x += glyph_.width + spacing;
    }
    if (!caption_.empty()) canvas.textOut(x, (height() - text.height) / 2 + shift, caption_, font_);
}

void PictureButton::mouseDown(MouseButton button, const ShiftState& shift, int x, int y) {
    if (button == MouseButton::left) {
        pressed_ = true;
        outside_ = false;
        invalidate();
    }
    Control::mouseDown(button, shift, x, y);
}

void PictureButton::mouseMove(const ShiftState& shift, int x, int y) {
    if (pressed_) {
        const bool outside = !(x >= 0 && y >= 0 && x < width() && y < height());
        if (outside != outside_) {
            outside_ = outside;
            invalidate();
        }
    }
    Control::mouseMove(shift, x, y);
}

void PictureButton::mouseUp(MouseButton button, const ShiftState& shift, int x, int y) {
    if (button == MouseButton::left && pressed_) {
        pressed_ = false;
        invalidate();
    }
    Control::mouseUp(button, shift, x, y);
}

}  // namespace toolkit
