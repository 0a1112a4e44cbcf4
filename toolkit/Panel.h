// Panel.h — a filled box with optional bevels and a centred caption; holds children.
#pragma once

#include <string>

#include "toolkit/Bevel.h"
#include "toolkit/Colors.h"

namespace toolkit {

class Panel : public Control {
public:
    Panel(Control* parent, Rect bounds, Pixel color = colors::buttonFace, BevelStyle outer = BevelStyle::raised,
          BevelStyle inner = BevelStyle::none);

    Pixel color() const { return color_; }
    void setColor(Pixel color);
    BevelStyle bevelOuter() const { return outer_; }
    void setBevelOuter(BevelStyle style);
    BevelStyle bevelInner() const { return inner_; }
    void setBevelInner(BevelStyle style);
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int width);
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    const Font& font() const { return font_; }
    void setFont(const Font& font);

    bool isBackground() const override { return true; }
    void paint(Canvas& canvas) override;

private:
    Pixel color_;
    BevelStyle outer_;
    BevelStyle inner_;
    int bevelWidth_ = 1;
    std::string caption_;
    Font font_;
};

}  // namespace toolkit
