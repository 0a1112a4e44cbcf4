// DoubleClickDetector.h — turns a second quick press into a double click.
//
//   DoubleClickDetector  press(button, x, y, time) → true when this press
//                        completes a double click (Windows rules: same button,
//                        within 500 ms and 4 pixels of the first press; the
//                        press after a double click starts a new pair)
#pragma once

#include <cstdint>

namespace platform::x11 {

class DoubleClickDetector {
public:
    static constexpr std::uint32_t maximumInterval = 500;  // milliseconds
    static constexpr int maximumDistance = 4;              // pixels, along each axis

    // time is the window system's 32-bit millisecond stamp; wrap-around is handled.
    bool press(int button, int x, int y, std::uint32_t time);
    void reset() { armed_ = false; }

private:
    bool armed_ = false;
    int button_ = 0;
    int x_ = 0;
    int y_ = 0;
    std::uint32_t time_ = 0;
};

}  // namespace platform::x11
