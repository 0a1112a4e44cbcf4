// TextView.h — a read-only block of text with word wrap and scroll bars.
//
// Lines break at '\n' and, with word wrap, at the last space that fits. By
// default a vertical scroll bar appears at the right when the text is taller
// than the view; with ScrollBars::both, as a memo with both bars, the vertical
// bar is always there and a horizontal one along the bottom scrolls lines wider
// than the view sideways. Arrows scroll a line (or a few pixels sideways), the
// track beside the thumb a page; the keys up/down, page up/down, home, end and
// left/right do the same while the view is focused.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Colors.h"
#include "toolkit/Control.h"

namespace toolkit {

class TextView : public Control {
public:
    enum class ScrollBars { verticalWhenNeeded, both };

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
    ScrollBars scrollBars() const { return scrollBars_; }
    void setScrollBars(ScrollBars bars);

    // The laid-out lines, the first one shown, and how many fit.
    const std::vector<std::string>& lines() const { return lines_; }
    int topLine() const { return topLine_; }
    void setTopLine(int line);  // clamped so the last page stays full
    int visibleLines() const;
    bool hasScrollBar() const;  // the vertical one
    bool hasHorizontalScrollBar() const { return scrollBars_ == ScrollBars::both; }
    // How far the text is scrolled sideways, in pixels.
    int horizontalOffset() const { return horizontalOffset_; }
    void setHorizontalOffset(int offset);  // clamped to the widest line

    void setBounds(const Rect& bounds) override;
    bool focusable() const override { return true; }
    void paint(Canvas& canvas) override;
    void mouseDown(MouseButton button, const ShiftState& shift, int x, int y) override;
    void keyDown(const platform::KeyEvent& key) override;

    static constexpr int scrollBarWidth = 16;
    static constexpr int horizontalStep = 8;  // pixels per arrow click or key

private:
    void layout();
    int edge() const { return sunken_ ? 2 : 0; }
    Rect textArea() const;
    Rect verticalBar() const;
    Rect horizontalBar() const;
    Rect thumbRect() const;
    Rect horizontalThumbRect() const;
    int widestScroll() const;
    void paintHorizontalBar(Canvas& canvas) const;

    std::string text_;
    Font font_;
    Pixel color_ = colors::white;
    bool wordWrap_ = true;
    bool sunken_ = true;
    ScrollBars scrollBars_ = ScrollBars::verticalWhenNeeded;
    std::vector<std::string> lines_;
    int widestLine_ = 0;  // in pixels
    int topLine_ = 0;
    int horizontalOffset_ = 0;
};

}  // namespace toolkit
