// Canvas.cpp — the software renderer's drawing operations.
//
//   within / plot / fillRect / frameRect      origin, clip and rectangles
//   line / polyline / moveTo / lineTo          Bresenham lines, end point left out
//   ellipse                                    pixel-centre test against the ellipse
//   draw / drawPart / stretchDraw              image copies
//   textOut                                    coverage-blended glyphs from the cache
#include "toolkit/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace toolkit {

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

Canvas::Canvas(Image& target) : target_(&target), clip_{0, 0, target.width, target.height} {}

Canvas::Canvas(Image& target, int originX, int originY, const Rect& clip)
    : target_(&target), originX_(originX), originY_(originY), clip_(clip) {}

Canvas Canvas::within(const Rect& area) const {
    const Rect inImage = area.offset(originX_, originY_);
    return Canvas(*target_, inImage.left, inImage.top, clip_.intersect(inImage));
}

Canvas Canvas::clippedTo(const Rect& area) const {
    return Canvas(*target_, originX_, originY_, clip_.intersect(area.offset(originX_, originY_)));
}

void Canvas::plot(int imageX, int imageY, Pixel color) {
    if (clip_.contains(imageX, imageY)) target_->at(imageX, imageY) = color;
}

void Canvas::setPixel(int x, int y, Pixel color) { plot(x + originX_, y + originY_, color); }

Pixel Canvas::pixel(int x, int y) const {
    const int ix = x + originX_, iy = y + originY_;
    return clip_.contains(ix, iy) ? target_->at(ix, iy) : 0;
}

void Canvas::fillRect(const Rect& rect, Pixel color) {
    const Rect area = rect.offset(originX_, originY_).intersect(clip_);
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

void Canvas::line(int x0, int y0, int x1, int y1, Pixel color) {
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
    int x = x0 + originX_, y = y0 + originY_;
    const int endX = x1 + originX_, endY = y1 + originY_;
    if (dx >= dy) {  // x-major: one pixel per column
        int error = 2 * dy - dx;
        while (x != endX) {
            plot(x, y, color);
            if (error > 0) {
                y += stepY;
                error -= 2 * dx;
            }
            error += 2 * dy;
            x += stepX;
        }
    } else {  // y-major: one pixel per row
        int error = 2 * dx - dy;
        while (y != endY) {
            plot(x, y, color);
            if (error > 0) {
                x += stepX;
                error -= 2 * dy;
            }
            error += 2 * dx;
            y += stepY;
        }
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
    const Rect to = from.offset(shiftX, shiftY).intersect(clip_);
    for (int ty = to.top; ty < to.bottom; ++ty) {
        const Pixel* in = source.pixels.data() + static_cast<std::size_t>(ty - shiftY) * source.width;
        Pixel* out = &target_->at(0, ty);
        for (int tx = to.left; tx < to.right; ++tx) out[tx] = in[tx - shiftX];
    }
}

void Canvas::stretchDraw(const Image& source, const Rect& destination) {
    if (destination.empty() || source.width <= 0 || source.height <= 0) return;
    const Rect to = destination.offset(originX_, originY_).intersect(clip_);
    const int left = destination.left + originX_, top = destination.top + originY_;
    for (int ty = to.top; ty < to.bottom; ++ty) {
        const int sy = static_cast<int>(static_cast<long long>(ty - top) * source.height / destination.height());
        for (int tx = to.left; tx < to.right; ++tx) {
            const int sx = static_cast<int>(static_cast<long long>(tx - left) * source.width / destination.width());
            target_->at(tx, ty) = source.at(sx, sy);
        }
    }
}

void Canvas::textOut(int x, int y, std::string_view text, const Font& font) {
    SizedFace& face = sizedFace(font.bold, font.size);
    int penX = x + originX_;
    const int baseline = y + originY_ + face.ascent();
    for (std::size_t i = 0; i < text.size();) {
        const Glyph& glyph = face.glyph(nextCodepoint(text, i));
        const int left = penX + glyph.offsetX, top = baseline + glyph.offsetY;
        const Rect area = Rect::ofSize(left, top, glyph.width, glyph.height).intersect(clip_);
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
