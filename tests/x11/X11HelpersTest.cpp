// X11HelpersTest.cpp — the window-system-free parts of the X11 backend.
//
//   DoubleClick  time, distance, button and wrap-around rules
//   TimerQueue   due times, late timers, timers started and stopped by callbacks
#include <gtest/gtest.h>

#include <vector>

#include "platform/x11/DoubleClickDetector.h"
#include "platform/x11/TimerQueue.h"

namespace {

using platform::x11::DoubleClickDetector;
using platform::x11::TimerQueue;

TEST(DoubleClick, SecondPressWithinTimeAndDistance) {
    DoubleClickDetector detector;
    EXPECT_FALSE(detector.press(1, 10, 10, 1000));
    EXPECT_TRUE(detector.press(1, 14, 6, 1500));  // 500 ms and 4 px: still a double click
    EXPECT_FALSE(detector.press(1, 14, 6, 1600));  // a third press starts again
    EXPECT_FALSE(detector.press(1, 14, 6, 2101));  // 501 ms later: too slow
    EXPECT_FALSE(detector.press(1, 19, 6, 2200));  // 5 px away
    EXPECT_FALSE(detector.press(3, 19, 6, 2300));  // another button
    EXPECT_TRUE(detector.press(3, 19, 6, 2400));
}

TEST(DoubleClick, TimeStampsThatWrapAround) {
    DoubleClickDetector detector;
    EXPECT_FALSE(detector.press(1, 0, 0, 0xFFFFFF00u));
    EXPECT_TRUE(detector.press(1, 0, 0, 0x00000010u));  // 272 ms later across the wrap
    detector.reset();
    EXPECT_FALSE(detector.press(1, 0, 0, 0x20));
}

TEST(TimerQueue, FiresWhenDueAndOncePerCallWhenLate) {
    TimerQueue queue;
    int ticks = 0;
    queue.add(100, [&] { ++ticks; }, 1000);
    queue.fireDue(1099);
    EXPECT_EQ(ticks, 0);
    queue.fireDue(1100);
    EXPECT_EQ(ticks, 1);
    queue.fireDue(1150);
    EXPECT_EQ(ticks, 1);
    queue.fireDue(2000);  // nine intervals late: one tick, next one an interval from now
    EXPECT_EQ(ticks, 2);
    queue.fireDue(2099);
    EXPECT_EQ(ticks, 2);
    queue.fireDue(2100);
    EXPECT_EQ(ticks, 3);
}

TEST(TimerQueue, CallbacksStartAndStopTimers) {
    TimerQueue queue;
    std::vector<int> order;
    TimerQueue::Id first = 0, second = 0, third = 0;
    first = queue.add(10, [&] {
        order.push_back(1);
        queue.remove(first);   // itself
        queue.remove(second);  // a later one that is due in the same call
        third = queue.add(10, [&] { order.push_back(3); }, 10);
    }, 0);
    second = queue.add(10, [&] { order.push_back(2); }, 0);
    queue.fireDue(10);
    EXPECT_EQ(order, std::vector<int>{1});  // the new timer waits for its own time
    queue.fireDue(20);
    EXPECT_EQ(order, (std::vector<int>{1, 3}));
    queue.remove(third);
    EXPECT_TRUE(queue.empty());
    queue.remove(12345);  // unknown ids are ignored
}

TEST(TimerQueue, ZeroIntervalBecomesOneMillisecond) {
    TimerQueue queue;
    int ticks = 0;
    queue.add(0, [&] { ++ticks; }, 50);
    queue.fireDue(50);
    EXPECT_EQ(ticks, 0);
    queue.fireDue(51);
    EXPECT_EQ(ticks, 1);
}

}  // namespace
