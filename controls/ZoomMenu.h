// ZoomMenu.h — the panel's zoom menu, drawn inside the panel.
//
//   ZoomMenu   an overlay over the whole form, shown by a right click on the
//              panel's background: a small box with the levels (the present
//              one marked), the host's scale as its own entry when a host told
//              one, and a note line when the host keeps the panel's size. A
//              press outside the box closes it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Form.h"

namespace controls {

class ZoomMenu : public toolkit::Control {
public:
    static constexpr int kItemHeight = 16;
    static constexpr int kWidth = 150;

    // Hidden; place it after the panel's own controls so it lies on top.
    explicit ZoomMenu(toolkit::Form& form);

    // Opens the box at (x, y) (form coordinates, moved in to fit).
    void popup(int x, int y, int currentPercent, std::optional<int> hostPercent, bool showReopenNote);
    void close() { setVisible(false); }

    // The entries: level percentages, the host's entry last (its level).
    int itemCount() const { return static_cast<int>(items_.size()); }
    // Entry `index`'s rectangle in form coordinates.
    toolkit::Rect itemBounds(int index) const;
    const std::string& itemText(int index) const { return items_[static_cast<std::size_t>(index)].text; }
    const toolkit::Rect& box() const { return box_; }

    // The user picked an entry; the menu closes first unless the owner reopens it.
    std::function<void(int percent)> onChoose;

    void paint(toolkit::Canvas& canvas) override;
    void mouseDown(toolkit::MouseButton button, const toolkit::ShiftState& shift, int x, int y) override;

private:
    struct Item {
        std::string text;
        int percent;
        bool marked;
    };
    std::vector<Item> items_;
    bool note_ = false;
    toolkit::Rect box_;
};

}  // namespace controls
