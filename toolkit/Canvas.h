// Canvas.h — the software renderer: drawing onto a toolkit::Image.
//
//   Canvas        fills, frames, one-pixel lines and polylines, ellipses, image
//                 copies (plain, partial, stretched) and transparent text, all
//                 clipped to a rectangle and relative to a movable origin
//   TextObserver  told where every glyph lands (for tests that compare
//                 pictures outside the text)
//
// Callers draw in logical (design) pixels; a canvas with a Zoom puts each
// logical pixel on its cell of device pixels (Zoom.h): fills and frames cover
// the zoomed rectangles, a line's every pixel becomes a cell (so lines and
// frames get zoomed widths and 200 % is the 100 % picture doubled), and text
// comes from the font at the zoomed size. At 100 % all of it is the plain
// one-to-one drawing.
//
// Raster conventions are those of GDI: a rectangle covers left..right-1 and
// top..bottom-1; a line is drawn with Bresenham's algorithm from its start point
// up to but not including its end point; a polyline draws each corner once.
// Nothing here allocates, except the first use of a font size (glyph cache).
#pragma once

#include <string_view>

#include "toolkit/Font.h"
#include "toolkit/Geometry.h"
#include "toolkit/Image.h"
#include "toolkit/Zoom.h"

namespace toolkit {

class TextObserver {
public:
    virtual ~TextObserver() = default;
    // The device rectangle of one glyph textOut painted (clipped, not empty).
    virtual void glyphDrawn(const Rect& deviceArea) = 0;
};

class Canvas {
public:
    // Every canvas reports its glyphs to `observer` until it is set back to
    // null (user-interface thread; none by default).
    static void setTextObserver(TextObserver* observer);

    explicit Canvas(Image& target, Zoom zoom = Zoom{});

    // A canvas on the same image whose origin is `area`'s top-left corner
    // (in this canvas's coordinates) and whose clip is this clip cut to `area`.
    Canvas within(const Rect& area) const;
    // The same origin, with the clip cut to `area` (this canvas's coordinates).
    Canvas clippedTo(const Rect& area) const;

    Image& image() { return *target_; }
    const Zoom& zoom() const { return zoom_; }
    // The clip rectangle in this canvas's own coordinates (the logical cells
    // that touch it, when zoomed).
    Rect clip() const { return zoom_.coveringLogical(clip_).offset(-originX_, -originY_); }

    void setPixel(int x, int y, Pixel color);
    Pixel pixel(int x, int y) const;  // 0 outside the clip
    void fillRect(const Rect& rect, Pixel color);
    // A one-pixel border just inside `rect` (GDI FrameRect).
    void frameRect(const Rect& rect, Pixel color);
    void line(int x0, int y0, int x1, int y1, Pixel color);
    void polyline(const Point* points, int count, Pixel color);
    // GDI-style pen position: moveTo sets it, lineTo draws to a point and moves there.
    void moveTo(int x, int y);
    void lineTo(int x, int y, Pixel color);
    // An ellipse inscribed in `rect`: filled with `fill`, one-pixel outline in `outline`.
    void ellipse(const Rect& rect, Pixel fill, Pixel outline);

    // Copies the whole of `source` with its top-left at (x, y); when zoomed,
    // each source pixel fills its cell.
    void draw(const Image& source, int x, int y);
    // Copies `sourceArea` of `source` with its top-left at (x, y).
    void drawPart(const Image& source, const Rect& sourceArea, int x, int y);
    // Scales `source` onto `destination` (nearest pixel).
    void stretchDraw(const Image& source, const Rect& destination);

    // Writes `text` with the cell's top-left at (x, y); only the glyphs' coverage
    // is painted, the background stays (transparent text).
    void textOut(int x, int y, std::string_view text, const Font& font);
    static TextExtent textExtent(std::string_view text, const Font& font) { return measureText(text, font); }

private:
    Canvas(Image& target, Zoom zoom, int originX, int originY, const Rect& clip);
    void plot(int logicalX, int logicalY, Pixel color);  // logical image coordinates, clipped
    void fillDevice(const Rect& deviceArea, Pixel color);  // device coordinates, clipped
    void drawPartZoomed(const Image& source, int shiftX, int shiftY, const Rect& logicalTarget);

    Image* target_;
    Zoom zoom_;
    int originX_ = 0;  // logical image coordinates
    int originY_ = 0;
    Rect clip_;  // device (image) coordinates
    Point pen_;
};

// Mixes `color` over `background` with an 8-bit coverage (255 = all colour).
Pixel blend(Pixel background, Pixel color, unsigned coverage);
// `from` moved towards `to` by `amount` (0 gives from, 1 gives to; clamped),
// each channel rounded: for artwork drawn by code.
Pixel mix(Pixel from, Pixel to, double amount);

}  // namespace toolkit
