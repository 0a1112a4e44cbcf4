// Zoom.h — the panels' zoom: logical (design) pixels to device pixels and back.
//
//   kZoomLevels        the levels a user can choose, in percent
//   nearestZoomLevel   any percentage taken to the nearest level
//   parseZoom          a percentage from text ("150", " 150 %"); false for junk
//   Zoom               the mapping at one level: logical pixel L covers the
//                      device pixels floor(L·z/100) .. floor((L+1)·z/100) − 1,
//                      so neighbouring cells tile without gaps at every level
//                      and 200 % is exactly every pixel doubled
#pragma once

#include <array>
#include <string_view>

#include "toolkit/Geometry.h"

namespace toolkit {

inline constexpr std::array<int, 5> kZoomLevels{100, 125, 150, 175, 200};
inline constexpr int kDefaultZoom = 100;

// The level nearest to `percent`; ties go to the smaller level.
int nearestZoomLevel(long long percent);

// Reads a percentage (digits, optional sign, surrounding blanks and one
// trailing '%'); false when the text is not such a number.
bool parseZoom(std::string_view text, long long& percent);

class Zoom {
public:
    constexpr Zoom() = default;
    constexpr explicit Zoom(int percent) : percent_(percent > 0 ? percent : kDefaultZoom) {}

    constexpr int percent() const { return percent_; }
    constexpr bool identity() const { return percent_ == 100; }

    // The first device pixel of logical pixel `logical` (also: a device edge).
    constexpr int toDevice(int logical) const {
        return identity() ? logical : floorDivide(static_cast<long long>(logical) * percent_, 100);
    }
    // The logical pixel whose cell holds device pixel `device`.
    constexpr int toLogical(int device) const {
        return identity() ? device : floorDivide(100LL * (static_cast<long long>(device) + 1) - 1, percent_);
    }
    constexpr Rect toDevice(const Rect& r) const {
        return Rect{toDevice(r.left), toDevice(r.top), toDevice(r.right), toDevice(r.bottom)};
    }
    // The logical cells that touch the device rectangle `r`.
    constexpr Rect coveringLogical(const Rect& r) const {
        if (r.empty()) return Rect{};
        return Rect{toLogical(r.left), toLogical(r.top), toLogical(r.right - 1) + 1, toLogical(r.bottom - 1) + 1};
    }
    // A font's pixel size at this zoom, halves to even.
    int fontSize(int size) const;

    constexpr bool operator==(const Zoom& o) const { return percent_ == o.percent_; }
    constexpr bool operator!=(const Zoom& o) const { return percent_ != o.percent_; }

private:
    static constexpr int floorDivide(long long a, long long b) {
        const long long q = a / b;
        return static_cast<int>((a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q);
    }
    int percent_ = kDefaultZoom;
};

}  // namespace toolkit
