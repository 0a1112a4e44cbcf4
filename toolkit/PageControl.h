// PageControl.h — pages behind a row of tabs; one page shows at a time.
//
// Tabs of a fixed size run along the top from the left; clicking a tab shows its
// page and raises onChange. Pages are controls that fill the area under the
// tabs (less a two-pixel edge); their children are laid out in page coordinates.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Colors.h"
#include "toolkit/Control.h"

namespace toolkit {

class PageControl;

class TabSheet : public Control {
public:
    TabSheet(PageControl& owner, const std::string& caption);
    const std::string& caption() const { return caption_; }
    Pixel color() const { return color_; }
    void setColor(Pixel color);
    void paint(Canvas& canvas) override;

private:
    std::string caption_;
    Pixel color_ = colors::buttonFace;
};

class PageControl : public Control {
public:
    PageControl(Control* parent, Rect bounds, int tabWidth, int tabHeight, const Font& tabFont);
    ~PageControl() override;

    // Adds a page with its tab at the end of the row; the first page added shows.
    TabSheet& addPage(const std::string& caption);
    int pageCount() const { return static_cast<int>(pages_.size()); }
    TabSheet& page(int index) { return *pages_[static_cast<std::size_t>(index)]; }
    int activePage() const { return active_; }
    // Shows page `index` (ignored outside the pages); raises no event.
    void setActivePage(int index);
    // The page area in the control's coordinates.
    Rect pageArea() const;
    Rect tabRect(int index) const;
    // The tab under a point, or -1.
    int tabAt(int x, int y) const;

    std::function<void()> onChange;

    void setBounds(const Rect& bounds) override;
    void paint(Canvas& canvas) override;
    void mouseDown(MouseButton button, const ShiftState& shift, int x, int y) override;

private:
    int tabWidth_;
    int tabHeight_;
    Font tabFont_;
    std::vector<std::unique_ptr<TabSheet>> pages_;
    int active_ = -1;
};

}  // namespace toolkit
