// TextView.h — a read-only block of text with word wrap and a vertical scroll bar.
//
// Lines break at '\n' and, with word wrap, at the last space that fits. When the
// text is taller than the view, a scroll bar appears at the right: its arrows
// scroll a line, the track beside the thumb a page; the keys up/down, page
// up/down, home and end do the same while the view is focused.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Colors.h"
#include "toolkit/Control.h"

namespace toolkit {

class TextView : public Control {
public:
    TextView(Control* parent, Rect bounds, const std::string& text, const Font& font);

    const std::string& text() const { return text_; }
    void setText(const std::string& text);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    Pixel color() const { return color_; }
    void setColor(Pixel color);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool wrap);
    bool sunken() const { return sunken_; }
    void setSunken(bool sunken);

    // The laid-out lines, the first one shown, and how many fit.
    const std::vector<std::string>& lines() const { return lines_; }
    int topLine() const { return topLine_; }
    void setTopLine(int line);  // clamped so the last page stays full
    int visibleLines() const;
    bool hasScrollBar() const;

    void setBounds(const Rect& bounds) override;
    bool focusable() const override { return true; }
    void paint(Canvas& canvas) override;
    void mouseDown(MouseButton button, const ShiftState& shift, int x, int y) override;
    void keyDown(const platform::KeyEvent& key) override;

    static constexpr int scrollBarWidth = 16;

private:
    void layout();
    Rect textArea() const;
    Rect thumbRect() const;

    std::string text_;
    Font font_;
    Pixel color_ = colors::white;
    bool wordWrap_ = true;
    bool sunken_ = true;
    std::vector<std::string> lines_;
    int topLine_ = 0;
};

}  // namespace toolkit
