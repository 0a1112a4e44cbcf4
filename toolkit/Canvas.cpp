// Canvas.cpp — the software renderer's drawing operations.
//
//   within / plot / fillRect / frameRect      origin, clip and rectangles
//   line / polyline / moveTo / lineTo          Bresenham lines, end point left out,
//                                              the part outside the clip skipped
//   ellipse                                    pixel-centre test against the ellipse
//   draw / drawPart / stretchDraw              image copies
//   textOut                                    coverage-blended glyphs from the cache
#include "toolkit/Canvas.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>

namespace toolkit {

namespace {
std::atomic<TextObserver*> textObserver{nullptr};
}  // namespace

void Canvas::setTextObserver(TextObserver* observer) { textObserver.store(observer, std::memory_order_relaxed); }

Pixel mix(Pixel from, Pixel to, double amount) {
    amount = std::clamp(amount, 0.0, 1.0);
    const auto channel = [amount](int a, int b) { return static_cast<std::uint8_t>(std::lround(a + (b - a) * amount)); };
    return rgb(channel(redOf(from), redOf(to)), channel(greenOf(from), greenOf(to)), channel(blueOf(from), blueOf(to)));
}

Pixel blend(Pixel background, Pixel color, unsigned coverage) {
    if (coverage >= 255) return color | 0xFF000000u;
    if (coverage == 0) return background;
    const auto mix = [coverage](unsigned b, unsigned c) {
        return (b * (255 - coverage) + c * coverage + 127) / 255;
    };
    return rgb(static_cast<std::uint8_t>(mix(redOf(background), redOf(color))),
               static_cast<std::uint8_t>(mix(greenOf(background), greenOf(color))),
               static_cast<std::uint8_t>(mix(blueOf(background), blueOf(color))));
}

Canvas::Canvas(Image& target, Zoom zoom) : target_(&target), zoom_(zoom), clip_{0, 0, target.width, target.height} {}

Canvas::Canvas(Image& target, Zoom zoom, int originX, int originY, const Rect& clip)
    : target_(&target), zoom_(zoom), originX_(originX), originY_(originY), clip_(clip) {}

Canvas Canvas::within(const Rect& area) const {
    const Rect inImage = area.offset(originX_, originY_);
    return Canvas(*target_, zoom_, inImage.left, inImage.top, clip_.intersect(zoom_.toDevice(inImage)));
}

Canvas Canvas::clippedTo(const Rect& area) const {
    return Canvas(*target_, zoom_, originX_, originY_, clip_.intersect(zoom_.toDevice(area.offset(originX_, originY_))));
}

void Canvas::plot(int logicalX, int logicalY, Pixel color) {
    if (zoom_.identity()) {
        if (clip_.contains(logicalX, logicalY)) target_->at(logicalX, logicalY) = color;
        return;
    }
    fillDevice(zoom_.toDevice(Rect{logicalX, logicalY, logicalX + 1, logicalY + 1}), color);
}

void Canvas::fillDevice(const Rect& deviceArea, Pixel color) {
    const Rect area = deviceArea.intersect(clip_);
    for (int y = area.top; y < area.bottom; ++y) {
        Pixel* row = &target_->at(0, y);
        for (int x = area.left; x < area.right; ++x) row[x] = color;
    }
}

void Canvas::setPixel(int x, int y, Pixel color) { plot(x + originX_, y + originY_, color); }

Pixel Canvas::pixel(int x, int y) const {
    const int ix = zoom_.toDevice(x + originX_), iy = zoom_.toDevice(y + originY_);
    return clip_.contains(ix, iy) ? target_->at(ix, iy) : 0;
}

void Canvas::fillRect(const Rect& rect, Pixel color) {
    const Rect area = zoom_.toDevice(rect.offset(originX_, originY_)).intersect(clip_);
    for (int y = area.top; y < area.bottom; ++y) {
        Pixel* row = &target_->at(0, y);
        for (int x = area.left; x < area.right; ++x) row[x] = color;
    }
}

void Canvas::frameRect(const Rect& rect, Pixel color) {
    if (rect.empty()) return;
    fillRect(Rect{rect.left, rect.top, rect.right, rect.top + 1}, color);
    fillRect(Rect{rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
    fillRect(Rect{rect.left, rect.top, rect.left + 1, rect.bottom}, color);
    fillRect(Rect{rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

namespace {
// Steps k (0-based) of a Bresenham line whose coordinate a0 + k * step lies in
// [low, high), within [first, last].
void limitSteps(std::int64_t a0, int step, int low, int high, std::int64_t& first, std::int64_t& last) {
    if (step > 0) {
        first = std::max(first, low - a0);
        last = std::min(last, high - 1 - a0);
    } else {
        first = std::max(first, a0 - (high - 1));
        last = std::min(last, a0 - low);
    }
}
}  // namespace

void Canvas::line(int x0, int y0, int x1, int y1, Pixel color) {
    // Bresenham along the major axis, the end point left out. After k steps the
    // minor axis has moved m(k) = ceil((2 minor k - major) / (2 major)) times, so
    // the part outside the clip is skipped without walking it: a point held far
    // outside the picture costs nothing.
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const bool xMajor = dx >= dy;
    const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    if (major == 0) return;
    const int stepMajor = (xMajor ? x0 < x1 : y0 < y1) ? 1 : -1;
    const int stepMinor = (xMajor ? y0 < y1 : x0 < x1) ? 1 : -1;
    const std::int64_t a0 = (xMajor ? x0 : y0) + static_cast<std::int64_t>(xMajor ? originX_ : originY_);
    const std::int64_t b0 = (xMajor ? y0 : x0) + static_cast<std::int64_t>(xMajor ? originY_ : originX_);
    // Walked in logical pixels; when zoomed, each one fills its cell.
    const Rect limit = zoom_.coveringLogical(clip_);
    const int lowA = xMajor ? limit.left : limit.top, highA = xMajor ? limit.right : limit.bottom;
    const int lowB = xMajor ? limit.top : limit.left, highB = xMajor ? limit.bottom : limit.right;
    const auto moves = [&](std::int64_t k) {
        const std::int64_t n = 2 * static_cast<std::int64_t>(minor) * k - major, d = 2 * static_cast<std::int64_t>(major);
        return n <= 0 ? std::int64_t{0} : (n + d - 1) / d;
    };
    std::int64_t first = 0, last = major - 1;
    limitSteps(a0, stepMajor, lowA, highA, first, last);
    // The minor axis: m(k) never falls, so the steps inside form one run.
    std::int64_t lowMoves, highMoves;
    if (stepMinor > 0) {
        lowMoves = lowB - b0;
        highMoves = highB - 1 - b0;
    } else {
        lowMoves = b0 - (highB - 1);
        highMoves = b0 - lowB;
    }
    if (first > last || highMoves < 0 || lowMoves > minor) return;
    if (moves(first) < lowMoves) {
        std::int64_t lo = first, hi = last + 1;  // first step with m(k) >= lowMoves
        while (lo < hi) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            if (moves(mid) >= lowMoves) hi = mid; else lo = mid + 1;
        }
        first = lo;
    }
    if (first <= last && moves(last) > highMoves) {
        std::int64_t lo = first - 1, hi = last;  // last step with m(k) <= highMoves
        while (lo < hi) {
            const std::int64_t mid = hi - (hi - lo) / 2;
            if (moves(mid) <= highMoves) lo = mid; else hi = mid - 1;
        }
        last = lo;
    }
    if (first > last) return;
    std::int64_t m = moves(first);
    std::int64_t error = 2 * static_cast<std::int64_t>(minor) * (first + 1) - major - 2 * static_cast<std::int64_t>(major) * m;
    std::int64_t a = a0 + stepMajor * first, b = b0 + stepMinor * m;
    for (std::int64_t k = first; k <= last; ++k) {
        if (xMajor)
            plot(static_cast<int>(a), static_cast<int>(b), color);
        else
            plot(static_cast<int>(b), static_cast<int>(a), color);
        if (error > 0) {
            b += stepMinor;
            error -= 2 * static_cast<std::int64_t>(major);
        }
        error += 2 * static_cast<std::int64_t>(minor);
        a += stepMajor;
    }
}

void Canvas::polyline(const Point* points, int count, Pixel color) {
    for (int i = 1; i < count; ++i) line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, color);
}

void Canvas::moveTo(int x, int y) { pen_ = Point{x, y}; }

void Canvas::lineTo(int x, int y, Pixel color) {
    line(pen_.x, pen_.y, x, y, color);
    pen_ = Point{x, y};
}

void Canvas::ellipse(const Rect& rect, Pixel fill, Pixel outline) {
    if (rect.empty()) return;
    // A pixel belongs to an ellipse when its centre lies inside; the outline is
    // what the ellipse shrunk by one pixel on every side leaves over.
    const auto inside = [](double px, double py, double cx, double cy, double rx, double ry) {
        if (rx <= 0.0 || ry <= 0.0) return false;
        const double u = (px - cx) / rx, v = (py - cy) / ry;
        return u * u + v * v <= 1.0;
    };
    const double cx = (rect.left + rect.right) / 2.0, cy = (rect.top + rect.bottom) / 2.0;
    const double rx = rect.width() / 2.0, ry = rect.height() / 2.0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            if (!inside(px, py, cx, cy, rx, ry)) continue;
            setPixel(x, y, inside(px, py, cx, cy, rx - 1.0, ry - 1.0) ? fill : outline);
        }
}

void Canvas::draw(const Image& source, int x, int y) { drawPart(source, Rect{0, 0, source.width, source.height}, x, y); }

void Canvas::drawPart(const Image& source, const Rect& sourceArea, int x, int y) {
    const Rect from = sourceArea.intersect(Rect{0, 0, source.width, source.height});
    if (from.empty()) return;
    const int shiftX = x - sourceArea.left + originX_, shiftY = y - sourceArea.top + originY_;
    if (!zoom_.identity()) {
        drawPartZoomed(source, shiftX, shiftY, from.offset(shiftX, shiftY));
        return;
    }
    const Rect to = from.offset(shiftX, shiftY).intersect(clip_);
    for (int ty = to.top; ty < to.bottom; ++ty) {
        const Pixel* in = source.pixels.data() + static_cast<std::size_t>(ty - shiftY) * source.width;
        Pixel* out = &target_->at(0, ty);
        for (int tx = to.left; tx < to.right; ++tx) out[tx] = in[tx - shiftX];
    }
}

namespace {
// The first device pixels of consecutive logical cells, one cell after the
// other, with no division per cell: the remainder of logical·z/100 is carried.
class CellEdges {
public:
    CellEdges(const Zoom& zoom, int logical)
        : percent_(zoom.percent()), edge_(zoom.toDevice(logical)),
          remainder_(static_cast<int>(static_cast<long long>(logical) * percent_ - 100LL * edge_)) {}
    int edge() const { return edge_; }
    void next() {
        remainder_ += percent_;
        while (remainder_ >= 100) {
            remainder_ -= 100;
            ++edge_;
        }
    }

private:
    int percent_;
    int edge_;
    int remainder_;  // logical·z − 100·edge, in 0..99
};
}  // namespace

void Canvas::drawPartZoomed(const Image& source, int shiftX, int shiftY, const Rect& logicalTarget) {
    // Every device pixel takes the source pixel of the logical cell it lies in.
    // Walked cell by cell: each source pixel is written over its cell's columns
    // in the cell's first row, which the cell's other rows then copy, so no
    // device pixel costs a division.
    const Rect to = zoom_.toDevice(logicalTarget).intersect(clip_);
    if (to.empty()) return;
    const int firstColumn = zoom_.toLogical(to.left), lastColumn = zoom_.toLogical(to.right - 1);
    const int firstRow = zoom_.toLogical(to.top), lastRow = zoom_.toLogical(to.bottom - 1);
    const std::size_t rowBytes = static_cast<std::size_t>(to.width()) * sizeof(Pixel);
    CellEdges rows(zoom_, firstRow);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int cellTop = rows.edge();
        rows.next();
        const int top = std::max(cellTop, to.top), bottom = std::min(rows.edge(), to.bottom);
        if (top >= bottom) continue;
        const Pixel* in = source.pixels.data() + static_cast<std::size_t>(row - shiftY) * source.width;
        Pixel* out = &target_->at(0, top);
        CellEdges columns(zoom_, firstColumn);
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int cellLeft = columns.edge();
            columns.next();
            const int left = std::max(cellLeft, to.left), right = std::min(columns.edge(), to.right);
            const Pixel color = in[column - shiftX];
            for (int x = left; x < right; ++x) out[x] = color;
        }
        for (int y = top + 1; y < bottom; ++y) std::memcpy(&target_->at(to.left, y), out + to.left, rowBytes);
    }
}

void Canvas::stretchDraw(const Image& source, const Rect& logicalDestination) {
    const Rect destination = zoom_.toDevice(logicalDestination.offset(originX_, originY_));
    if (destination.empty() || source.width <= 0 || source.height <= 0) return;
    const Rect to = destination.intersect(clip_);
    const int left = destination.left, top = destination.top;
    for (int ty = to.top; ty < to.bottom; ++ty) {
        const int sy = static_cast<int>(static_cast<long long>(ty - top) * source.height / destination.height());
        for (int tx = to.left; tx < to.right; ++tx) {
            const int sx = static_cast<int>(static_cast<long long>(tx - left) * source.width / destination.width());
            target_->at(tx, ty) = source.at(sx, sy);
        }
    }
}

void Canvas::textOut(int x, int y, std::string_view text, const Font& font) {
    SizedFace& face = sizedFace(font.bold, zoom_.fontSize(font.size));
    TextObserver* const observer = textObserver.load(std::memory_order_relaxed);
    int penX = zoom_.toDevice(x + originX_);
    const int baseline = zoom_.toDevice(y + originY_) + face.ascent();
    for (std::size_t i = 0; i < text.size();) {
        const Glyph& glyph = face.glyph(nextCodepoint(text, i));
        const int left = penX + glyph.offsetX, top = baseline + glyph.offsetY;
        const Rect area = Rect::ofSize(left, top, glyph.width, glyph.height).intersect(clip_);
        if (observer && !area.empty()) observer->glyphDrawn(area);
        for (int gy = area.top; gy < area.bottom; ++gy) {
            const std::uint8_t* coverage = &glyph.coverage[static_cast<std::size_t>(gy - top) * glyph.width];
            Pixel* out = &target_->at(0, gy);
            for (int gx = area.left; gx < area.right; ++gx) {
                const unsigned c = coverage[gx - left];
                if (c) out[gx] = blend(out[gx], font.color, c);
            }
        }
        penX += glyph.advance;
    }
}

}  // namespace toolkit
