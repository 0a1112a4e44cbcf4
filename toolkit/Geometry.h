// Geometry.h — points and half-open rectangles in pixel coordinates.
//
//   Point  an integer pixel position
//   Rect   left/top inclusive, right/bottom exclusive (the raster convention)
#pragma once

#include <algorithm>

namespace toolkit {

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect ofSize(int left, int top, int width, int height) {
        return Rect{left, top, left + width, top + height};
    }
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr Rect offset(int dx, int dy) const { return Rect{left + dx, top + dy, right + dx, bottom + dy}; }
    Rect intersect(const Rect& other) const {
        Rect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
               std::min(bottom, other.bottom)};
        if (r.empty()) return Rect{};
        return r;
    }
    // The smallest rectangle holding both; an empty rectangle adds nothing.
    Rect unite(const Rect& other) const {
        if (empty()) return other;
        if (other.empty()) return *this;
        return Rect{std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                    std::max(bottom, other.bottom)};
    }
    constexpr bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const Rect& o) const { return !(*this == o); }
};

}  // namespace toolkit
