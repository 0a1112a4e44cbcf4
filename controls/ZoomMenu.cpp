// ZoomMenu.cpp — entries, layout, drawing and picking of the zoom menu.
#include "controls/ZoomMenu.h"

#include <algorithm>

#include "toolkit/Bevel.h"
#include "toolkit/Colors.h"

namespace controls {

using toolkit::Rect;

namespace {
constexpr int kPadding = 3;
const char* const kReopenNote = "New size at next open";
const toolkit::Font kItemFont{11, false, toolkit::colors::black};
const toolkit::Font kNoteFont{11, false, toolkit::colors::gray};
}  // namespace

ZoomMenu::ZoomMenu(toolkit::Form& form) : Control(&form, Rect{0, 0, form.width(), form.height()}) {
    setVisible(false);
}

void ZoomMenu::popup(int x, int y, int currentPercent, std::optional<int> hostPercent, bool showReopenNote) {
    items_.clear();
    for (int level : toolkit::kZoomLevels)
        items_.push_back(Item{std::to_string(level) + "%", level, level == currentPercent});
    if (hostPercent) items_.push_back(Item{"Host: " + std::to_string(*hostPercent) + "%", *hostPercent, false});
    note_ = showReopenNote;
    const int rows = itemCount() + (note_ ? 1 : 0);
    const int height = rows * kItemHeight + 2 * kPadding;
    // The parent may have changed size since the menu was made.
    if (parent()) setBounds(Rect{0, 0, parent()->width(), parent()->height()});
    const int left = std::max(0, std::min(x, width() - kWidth));
    const int top = std::max(0, std::min(y, this->height() - height));
    box_ = Rect::ofSize(left, top, kWidth, height);
    setVisible(true);
    invalidate();
}

Rect ZoomMenu::itemBounds(int index) const {
    return Rect::ofSize(box_.left + kPadding, box_.top + kPadding + index * kItemHeight, kWidth - 2 * kPadding,
                        kItemHeight);
}

void ZoomMenu::paint(toolkit::Canvas& canvas) {
    canvas.fillRect(box_, toolkit::colors::buttonFace);
    toolkit::drawBevel(canvas, box_, toolkit::BevelStyle::raised);
    for (int i = 0; i < itemCount(); ++i) {
        const Rect row = itemBounds(i);
        const Item& item = items_[static_cast<std::size_t>(i)];
        if (item.marked) canvas.fillRect(Rect::ofSize(row.left + 5, row.top + 6, 5, 5), toolkit::colors::black);
        canvas.textOut(row.left + 16, row.top + 1, item.text, kItemFont);
    }
    if (note_) canvas.textOut(box_.left + kPadding + 4, itemBounds(itemCount()).top + 1, kReopenNote, kNoteFont);
}

void ZoomMenu::mouseDown(toolkit::MouseButton button, const toolkit::ShiftState& shift, int x, int y) {
    Control::mouseDown(button, shift, x, y);
    for (int i = 0; i < itemCount(); ++i) {
        if (!itemBounds(i).contains(x, y)) continue;
        const int percent = items_[static_cast<std::size_t>(i)].percent;
        close();
        if (onChoose) onChoose(percent);
        return;
    }
    // The note and the frame keep the menu; a press anywhere else closes it.
    if (!box_.contains(x, y)) close();
}

}  // namespace controls
