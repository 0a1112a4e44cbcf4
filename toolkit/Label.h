// Label.h — a line of text: font, colour, alignment, transparent or filled.
//
// With autoSize (the default) the label takes the size of its text whenever the
// text or font changes, keeping its left edge; without it the text is aligned
// inside the given width, at the top, or centred vertically with centreVertically.
#pragma once

#include <string>

#include "toolkit/Colors.h"
#include "toolkit/Control.h"

namespace toolkit {

enum class Alignment { left, centre, right };

class Label : public Control {
public:
    // An auto-sized label at (left, top).
    Label(Control* parent, int left, int top, const std::string& text, const Font& font);
    // A label of fixed size with its text aligned inside.
    Label(Control* parent, Rect bounds, const std::string& text, const Font& font, Alignment alignment = Alignment::left);

    const std::string& text() const { return text_; }
    void setText(const std::string& text);  // repaints only when the text changes
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    void setFontColor(Pixel color);
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment alignment);
    bool transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    Pixel color() const { return color_; }  // background when not transparent
    void setColor(Pixel color);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);
    void setCentreVertically(bool centre);

    bool isBackground() const override { return true; }
    void paint(Canvas& canvas) override;

private:
    void fitToText();

    std::string text_;
    Font font_;
    Alignment alignment_ = Alignment::left;
    bool transparent_ = true;
    Pixel color_ = colors::buttonFace;
    bool autoSize_ = true;
    bool centreVertically_ = false;
};

}  // namespace toolkit
