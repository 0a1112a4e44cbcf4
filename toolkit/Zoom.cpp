// Zoom.cpp — choosing a level, reading a percentage, zoomed font sizes.
#include "toolkit/Zoom.h"

#include <cmath>
#include <cstdlib>

namespace toolkit {

int nearestZoomLevel(long long percent) {
    int best = kZoomLevels.front();
    for (int level : kZoomLevels)
        if (std::llabs(percent - level) < std::llabs(percent - best)) best = level;
    return best;
}

bool parseZoom(std::string_view text, long long& percent) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.back() == '%') text.remove_suffix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        // Huge numbers only need to stay huge: they go to the top level.
        if (value < 1000000000LL) value = value * 10 + (c - '0');
    }
    percent = negative ? -value : value;
    return true;
}

int Zoom::fontSize(int size) const {
    if (identity()) return size;
    return static_cast<int>(std::nearbyint(static_cast<double>(size) * percent_ / 100.0));
}

}  // namespace toolkit
