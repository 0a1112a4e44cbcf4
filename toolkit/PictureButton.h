// PictureButton.h — a push button with a glyph (picture) and/or a caption.
//
//   Kind::custom  the glyph the owner gives (or none)
//   Kind::ok      the standard OK button: a green check mark and "OK"
//   Kind::cancel  the standard Cancel button: a red cross and "Cancel"
//
// The face is raised, and sunken with its content one pixel down and right while
// the left button is held on it with the pointer inside. onClick (Control) is
// raised on the release inside, for each press of a double click as well.
// Pixels of the glyph equal to its bottom-left pixel are transparent, as with
// the usual bitmap glyphs.
#pragma once

#include <string>

#include "toolkit/Colors.h"
#include "toolkit/Control.h"

namespace toolkit {

class PictureButton : public Control {
public:
    enum class Kind { custom, ok, cancel };

    PictureButton(Control* parent, Rect bounds, const std::string& caption = std::string(), Kind kind = Kind::custom);

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    const Image& glyph() const { return glyph_; }
    void setGlyph(const Image& glyph);
    Pixel color() const { return color_; }
    void setColor(Pixel color);
    // Drawn flat (no raised edge until pressed), as a speed button on a dark strip.
    void setFlat(bool flat);
    bool showsPressed() const { return pressed_ && !outside_; }

    bool secondPressClicks() const override { return true; }
    void paint(Canvas& canvas) override;
    void mouseDown(MouseButton button, const ShiftState& shift, int x, int y) override;
    void mouseMove(const ShiftState& shift, int x, int y) override;
    void mouseUp(MouseButton button, const ShiftState& shift, int x, int y) override;

private:
    std::string caption_;
    Font font_;
    Image glyph_;
    Pixel color_ = colors::buttonFace;
    bool flat_ = false;
    bool pressed_ = false;
    bool outside_ = false;
};

// The standard glyphs of the OK and Cancel buttons (18 x 18, transparent corner).
Image okGlyph();
Image cancelGlyph();

}  // namespace toolkit
