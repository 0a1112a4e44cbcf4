// TextView.cpp — line layout, scrolling, painting.
//
// Layout runs only when the text, font or size changes, never while painting.
#include "toolkit/TextView.h"

#include <algorithm>

#include "toolkit/Bevel.h"

namespace toolkit {
namespace {
constexpr int margin = 3;  // inside the edge
}

TextView::TextView(Control* parent, Rect bounds, const std::string& text, const Font& font)
    : Control(parent, bounds), text_(text), font_(font) {
    layout();
}

void TextView::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    topLine_ = 0;
    layout();
    invalidate();
}

void TextView::setFont(const Font& font) {
    if (font == font_) return;
    font_ = font;
    layout();
    invalidate();
}

void TextView::setColor(Pixel color) {
    if (color == color_) return;
    color_ = color;
    invalidate();
}

void TextView::setWordWrap(bool wrap) {
    if (wrap == wordWrap_) return;
    wordWrap_ = wrap;
    layout();
    invalidate();
}

void TextView::setSunken(bool sunken) {
    if (sunken == sunken_) return;
    sunken_ = sunken;
    layout();
    invalidate();
}

void TextView::setScrollBars(ScrollBars bars) {
    if (bars == scrollBars_) return;
    scrollBars_ = bars;
    layout();
    invalidate();
}

void TextView::setBounds(const Rect& bounds) {
    Control::setBounds(bounds);
    layout();
}

Rect TextView::textArea() const {
    return Rect{edge() + margin, edge() + 1, width() - edge() - margin - (hasScrollBar() ? scrollBarWidth : 0),
                height() - edge() - 1 - (hasHorizontalScrollBar() ? scrollBarWidth : 0)};
}

int TextView::visibleLines() const {
    const int lineHeight = std::max(1, Canvas::textExtent("", font_).height);
    const int bar = hasHorizontalScrollBar() ? scrollBarWidth : 0;
    return std::max(1, (height() - 2 * edge() - 2 - bar) / lineHeight);
}

bool TextView::hasScrollBar() const {
    return scrollBars_ == ScrollBars::both || static_cast<int>(lines_.size()) > visibleLines();
}

Rect TextView::verticalBar() const {
    const int bottom = height() - edge() - (hasHorizontalScrollBar() ? scrollBarWidth : 0);
    return Rect{width() - edge() - scrollBarWidth, edge(), width() - edge(), bottom};
}

Rect TextView::horizontalBar() const {
    return Rect{edge(), height() - edge() - scrollBarWidth, width() - edge() - scrollBarWidth, height() - edge()};
}

int TextView::widestScroll() const { return std::max(0, widestLine_ - textArea().width()); }

void TextView::layout() {
    // Two passes: without a scroll bar first, and again narrower if one is needed
    // (with both bars the vertical one is always there).
    const bool barAlways = scrollBars_ == ScrollBars::both;
    for (int pass = barAlways ? 1 : 0; pass < 2; ++pass) {
        const int available = width() - 2 * (edge() + margin) - (pass == 1 ? scrollBarWidth : 0);
        lines_.clear();
        std::size_t start = 0;
        while (start <= text_.size()) {
            std::size_t end = text_.find('\n', start);
            if (end == std::string::npos) end = text_.size();
            std::string paragraph = text_.substr(start, end - start);
            if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
            while (wordWrap_ && Canvas::textExtent(paragraph, font_).width > available) {
                // Break at the last space that lets the line fit, or mid-word when none does.
                std::size_t cut = paragraph.size();
                std::size_t space = paragraph.rfind(' ', cut - 1);
                while (space != std::string::npos && space > 0 &&
                       Canvas::textExtent(paragraph.substr(0, space), font_).width > available)
                    space = paragraph.rfind(' ', space - 1);
                if (space != std::string::npos && space > 0) {
                    cut = space;
                } else {
                    cut = 1;
                    while (cut < paragraph.size() &&
                           Canvas::textExtent(paragraph.substr(0, cut + 1), font_).width <= available)
                        ++cut;
                }
                lines_.push_back(paragraph.substr(0, cut));
                std::size_t rest = cut;
                while (rest < paragraph.size() && paragraph[rest] == ' ') ++rest;
                paragraph.erase(0, rest);
            }
            lines_.push_back(paragraph);
            start = end + 1;
        }
        if (static_cast<int>(lines_.size()) <= visibleLines()) break;
    }
    widestLine_ = 0;
    for (const std::string& line : lines_) widestLine_ = std::max(widestLine_, Canvas::textExtent(line, font_).width);
    setTopLine(topLine_);
    setHorizontalOffset(horizontalOffset_);
}

void TextView::setTopLine(int line) {
    const int last = std::max(0, static_cast<int>(lines_.size()) - visibleLines());
    const int clamped = std::clamp(line, 0, last);
    if (clamped == topLine_) return;
    topLine_ = clamped;
    invalidate();
}

void TextView::setHorizontalOffset(int offset) {
    const int clamped = std::clamp(offset, 0, widestScroll());
    if (clamped == horizontalOffset_) return;
    horizontalOffset_ = clamped;
    invalidate();
}

Rect TextView::thumbRect() const {
    const Rect bar = verticalBar();
    const int total = static_cast<int>(lines_.size()), shown = visibleLines();
    const int track = std::max(0, bar.height() - 2 * scrollBarWidth);
    const int size = std::min(track, std::max(8, total > shown ? track * shown / total : track));
    const int range = std::max(1, total - shown);
    const int top = bar.top + scrollBarWidth + (track - size) * topLine_ / range;
    return Rect{bar.left, top, bar.right, top + size};
}

Rect TextView::horizontalThumbRect() const {
    const Rect bar = horizontalBar();
    const int shown = std::max(1, textArea().width()), total = std::max(shown, widestLine_);
    const int track = std::max(0, bar.width() - 2 * scrollBarWidth);
    const int size = std::min(track, std::max(8, track * shown / total));
    const int range = std::max(1, widestScroll());
    const int left = bar.left + scrollBarWidth + (track - size) * horizontalOffset_ / range;
    return Rect{left, bar.top, left + size, bar.bottom};
}

void TextView::paint(Canvas& canvas) {
    const Rect whole{0, 0, width(), height()};
    canvas.fillRect(whole, color_);
    if (sunken_) {
        const Rect inner = drawBevel(canvas, whole, BevelStyle::lowered);
        canvas.fillRect(Rect{inner.left, inner.top, inner.right, inner.top + 1}, colors::darkShadow);
        canvas.fillRect(Rect{inner.left, inner.top, inner.left + 1, inner.bottom}, colors::darkShadow);
    }
    const Rect area = textArea();
    Canvas text = canvas.clippedTo(area);
    const int lineHeight = Canvas::textExtent("", font_).height;
    for (int i = 0; i < visibleLines() + 1; ++i) {
        const int index = topLine_ + i;
        if (index >= static_cast<int>(lines_.size())) break;
        text.textOut(area.left - horizontalOffset_, area.top + i * lineHeight, lines_[static_cast<std::size_t>(index)],
                     font_);
    }
    if (hasHorizontalScrollBar()) paintHorizontalBar(canvas);
    if (!hasScrollBar()) return;
    const Rect bar = verticalBar();
    canvas.fillRect(bar, rgb(224, 224, 224));
    const Rect upArrow{bar.left, bar.top, bar.right, bar.top + scrollBarWidth};
    const Rect downArrow{bar.left, bar.bottom - scrollBarWidth, bar.right, bar.bottom};
    for (const Rect& r : {upArrow, downArrow, thumbRect()}) {
        canvas.fillRect(r, colors::buttonFace);
        drawBevel(canvas, r, BevelStyle::raised);
    }
    const int cx = (bar.left + bar.right - 1) / 2;
    for (int i = 0; i < 4; ++i) {
        canvas.fillRect(Rect{cx - i, upArrow.top + 6 + i, cx + i + 1, upArrow.top + 7 + i}, colors::black);
        canvas.fillRect(Rect{cx - i, downArrow.bottom - 7 - i, cx + i + 1, downArrow.bottom - 6 - i}, colors::black);
    }
}

void TextView::paintHorizontalBar(Canvas& canvas) const {
    const Rect bar = horizontalBar();
    canvas.fillRect(bar, rgb(224, 224, 224));
    // The corner where the two bars meet.
    canvas.fillRect(Rect{bar.right, bar.top, width() - edge(), bar.bottom}, colors::buttonFace);
    const Rect leftArrow{bar.left, bar.top, bar.left + scrollBarWidth, bar.bottom};
    const Rect rightArrow{bar.right - scrollBarWidth, bar.top, bar.right, bar.bottom};
    for (const Rect& r : {leftArrow, rightArrow, horizontalThumbRect()}) {
        canvas.fillRect(r, colors::buttonFace);
        drawBevel(canvas, r, BevelStyle::raised);
    }
    const int cy = (bar.top + bar.bottom - 1) / 2;
    for (int i = 0; i < 4; ++i) {
        canvas.fillRect(Rect{leftArrow.left + 6 + i, cy - i, leftArrow.left + 7 + i, cy + i + 1}, colors::black);
        canvas.fillRect(Rect{rightArrow.right - 7 - i, cy - i, rightArrow.right - 6 - i, cy + i + 1}, colors::black);
    }
}

void TextView::mouseDown(MouseButton button, const ShiftState& shift, int x, int y) {
    if (button == MouseButton::left && hasScrollBar() && verticalBar().contains(x, y)) {
        const Rect bar = verticalBar(), thumb = thumbRect();
        if (y < bar.top + scrollBarWidth)
            setTopLine(topLine_ - 1);
        else if (y >= bar.bottom - scrollBarWidth)
            setTopLine(topLine_ + 1);
        else if (y < thumb.top)
            setTopLine(topLine_ - visibleLines());
        else if (y >= thumb.bottom)
            setTopLine(topLine_ + visibleLines());
    } else if (button == MouseButton::left && hasHorizontalScrollBar() && horizontalBar().contains(x, y)) {
        const Rect bar = horizontalBar(), thumb = horizontalThumbRect();
        const int page = std::max(1, textArea().width());
        if (x < bar.left + scrollBarWidth)
            setHorizontalOffset(horizontalOffset_ - horizontalStep);
        else if (x >= bar.right - scrollBarWidth)
            setHorizontalOffset(horizontalOffset_ + horizontalStep);
        else if (x < thumb.left)
            setHorizontalOffset(horizontalOffset_ - page);
        else if (x >= thumb.right)
            setHorizontalOffset(horizontalOffset_ + page);
    }
    Control::mouseDown(button, shift, x, y);
}

void TextView::keyDown(const platform::KeyEvent& key) {
    using platform::Key;
    switch (key.key) {
        case Key::up: setTopLine(topLine_ - 1); break;
        case Key::down: setTopLine(topLine_ + 1); break;
        case Key::pageUp: setTopLine(topLine_ - visibleLines()); break;
        case Key::pageDown: setTopLine(topLine_ + visibleLines()); break;
        case Key::home: setTopLine(0); break;
        case Key::end: setTopLine(static_cast<int>(lines_.size())); break;
        case Key::left: setHorizontalOffset(horizontalOffset_ - horizontalStep); break;
        case Key::right: setHorizontalOffset(horizontalOffset_ + horizontalStep); break;
        default: break;
    }
}

}  // namespace toolkit
