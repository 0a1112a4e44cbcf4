// PageControl.cpp — tabs, page switching and painting.
#include "toolkit/PageControl.h"

#include "toolkit/Bevel.h"

namespace toolkit {

TabSheet::TabSheet(PageControl& owner, const std::string& caption)
    : Control(&owner, owner.pageArea()), caption_(caption) {}

void TabSheet::setColor(Pixel color) {
    if (color == color_) return;
    color_ = color;
    invalidate();
}

void TabSheet::paint(Canvas& canvas) { canvas.fillRect(Rect{0, 0, width(), height()}, color_); }

PageControl::PageControl(Control* parent, Rect bounds, int tabWidth, int tabHeight, const Font& tabFont)
    : Control(parent, bounds), tabWidth_(tabWidth), tabHeight_(tabHeight), tabFont_(tabFont) {}

PageControl::~PageControl() {
    // Pages are children: let them go before this control's base part does.
    pages_.clear();
}

TabSheet& PageControl::addPage(const std::string& caption) {
    pages_.push_back(std::make_unique<TabSheet>(*this, caption));
    TabSheet& sheet = *pages_.back();
    if (active_ < 0)
        active_ = 0;
    else
        sheet.setVisible(false);
    invalidate();
    return sheet;
}

void PageControl::setActivePage(int index) {
    if (index < 0 || index >= pageCount() || index == active_) return;
    pages_[static_cast<std::size_t>(active_)]->setVisible(false);
    active_ = index;
    pages_[static_cast<std::size_t>(active_)]->setVisible(true);
    invalidate();
}

Rect PageControl::pageArea() const { return Rect{2, tabHeight_ + 2, width() - 2, height() - 2}; }

Rect PageControl::tabRect(int index) const { return Rect::ofSize(2 + index * tabWidth_, 2, tabWidth_, tabHeight_); }

int PageControl::tabAt(int x, int y) const {
    for (int i = 0; i < pageCount(); ++i) {
        Rect r = tabRect(i);
        if (i == active_) r = Rect{r.left - 2, r.top - 2, r.right + 2, r.bottom};
        if (r.contains(x, y)) return i;
    }
    return -1;
}

void PageControl::setBounds(const Rect& bounds) {
    Control::setBounds(bounds);
    for (auto& sheet : pages_) sheet->setBounds(pageArea());
}

void PageControl::paint(Canvas& canvas) {
    canvas.fillRect(Rect{0, 0, width(), height()}, colors::buttonFace);
    // The page frame under the tabs.
    drawBevel(canvas, Rect{0, tabHeight_, width(), height()}, BevelStyle::raised);
    for (int i = 0; i < pageCount(); ++i) {
        Rect r = tabRect(i);
        const bool active = i == active_;
        if (active) r = Rect{r.left - 2, r.top - 2, r.right + 2, r.bottom + 1};  // the active tab stands out
        canvas.fillRect(Rect{r.left, r.top, r.left + 1, r.bottom}, colors::buttonHighlight);
        canvas.fillRect(Rect{r.left + 1, r.top, r.right - 1, r.top + 1}, colors::buttonHighlight);
        canvas.fillRect(Rect{r.right - 1, r.top + 1, r.right, r.bottom}, colors::darkShadow);
        canvas.fillRect(Rect{r.right - 2, r.top + 1, r.right - 1, r.bottom}, colors::buttonShadow);
        canvas.fillRect(Rect{r.left + 1, r.top + 1, r.right - 2, r.bottom}, colors::buttonFace);
        const std::string& caption = pages_[static_cast<std::size_t>(i)]->caption();
        const TextExtent text = Canvas::textExtent(caption, tabFont_);
        canvas.textOut(r.left + (r.width() - text.width) / 2, r.top + (r.height() - text.height) / 2, caption,
                       tabFont_);
    }
}

void PageControl::mouseDown(MouseButton button, const ShiftState& shift, int x, int y) {
    if (button == MouseButton::left) {
        const int tab = tabAt(x, y);
        if (tab >= 0 && tab != active_) {
            setActivePage(tab);
            if (onChange) onChange();
        }
    }
    Control::mouseDown(button, shift, x, y);
}

}  // namespace toolkit
