// DoubleClickDetector.cpp — double-click timing and distance.
#include "platform/x11/DoubleClickDetector.h"

#include <cstdlib>

namespace platform::x11 {

bool DoubleClickDetector::press(int button, int x, int y, std::uint32_t time) {
    const bool isDouble = armed_ && button == button_ && time - time_ <= maximumInterval &&
                          std::abs(x - x_) <= maximumDistance && std::abs(y - y_) <= maximumDistance;
    if (isDouble) {
        armed_ = false;
        return true;
    }
    armed_ = true;
    button_ = button;
    x_ = x;
    y_ = y;
    time_ = time;
    return false;
}

}  // namespace platform::x11
