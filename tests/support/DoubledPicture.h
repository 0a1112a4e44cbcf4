// DoubledPicture.h — is a picture at 200 % the 100 % picture doubled, outside text?
//
//   GlyphBoxes       records where glyphs land while it lives (Canvas's observer)
//   compareDoubled   every pixel of the 200 % picture outside the glyphs of
//                    either picture against its 100 % pixel; text may differ,
//                    being drawn from the font at the zoomed size
//   compareFormDoubled  a form painted at 100 and at 200 % in its headless
//                    window, compared so; the form is left at 100 %
#pragma once

#include <vector>

#include "platform/headless/HeadlessWindowSystem.h"
#include "toolkit/Canvas.h"
#include "toolkit/Form.h"
#include "toolkit/Geometry.h"
#include "toolkit/Image.h"

namespace test_support {

class GlyphBoxes final : public toolkit::TextObserver {
public:
    GlyphBoxes() { toolkit::Canvas::setTextObserver(this); }
    ~GlyphBoxes() override { toolkit::Canvas::setTextObserver(nullptr); }
    GlyphBoxes(const GlyphBoxes&) = delete;
    GlyphBoxes& operator=(const GlyphBoxes&) = delete;
    void glyphDrawn(const toolkit::Rect& deviceArea) override { boxes.push_back(deviceArea); }
    std::vector<toolkit::Rect> boxes;
};

struct DoublingResult {
    bool sizesMatch = false;
    long compared = 0;     // pixels outside text
    long textPixels = 0;   // pixels left out as text
    long differing = 0;    // compared pixels that are not the doubled 100 % pixel
    toolkit::Point firstDifference{-1, -1};
};

inline DoublingResult compareDoubled(const toolkit::Image& small, const std::vector<toolkit::Rect>& smallText,
                                     const toolkit::Image& big, const std::vector<toolkit::Rect>& bigText) {
    DoublingResult result;
    result.sizesMatch = big.width == 2 * small.width && big.height == 2 * small.height;
    if (!result.sizesMatch) return result;
    std::vector<bool> text(static_cast<std::size_t>(big.width) * static_cast<std::size_t>(big.height), false);
    const auto mask = [&](const toolkit::Rect& r) {
        const toolkit::Rect area = r.intersect(toolkit::Rect{0, 0, big.width, big.height});
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) text[static_cast<std::size_t>(y) * big.width + x] = true;
    };
    for (const toolkit::Rect& r : smallText) mask(toolkit::Rect{2 * r.left, 2 * r.top, 2 * r.right, 2 * r.bottom});
    for (const toolkit::Rect& r : bigText) mask(r);
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x) {
            if (text[static_cast<std::size_t>(y) * big.width + x]) {
                ++result.textPixels;
                continue;
            }
            ++result.compared;
            if (big.at(x, y) != small.at(x / 2, y / 2)) {
                if (result.differing++ == 0) result.firstDifference = toolkit::Point{x, y};
            }
        }
    return result;
}

inline DoublingResult compareFormDoubled(toolkit::Form& form, platform::HeadlessWindow& window) {
    toolkit::Image small, big;
    std::vector<toolkit::Rect> smallText, bigText;
    {
        GlyphBoxes glyphs;
        form.invalidate();
        small = window.paintNow();
        smallText = glyphs.boxes;
    }
    {
        GlyphBoxes glyphs;
        form.setZoom(toolkit::Zoom(200));
        big = window.paintNow();
        bigText = glyphs.boxes;
    }
    form.setZoom(toolkit::Zoom(100));
    return compareDoubled(small, smallText, big, bigText);
}

}  // namespace test_support
