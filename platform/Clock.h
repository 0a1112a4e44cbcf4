// Clock.h — a millisecond tick count with GetTickCount semantics (32 bits, wraps).
//
//   Clock        the interface the effects and panels read time through
//   ManualClock  a clock that tests and offline tools set by hand
//   systemClock  the real tick count of this platform
#pragma once

#include <atomic>
#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t milliseconds() const = 0;
};

class ManualClock final : public Clock {
public:
    explicit ManualClock(std::uint32_t start = 0) : now(start) {}
    std::uint32_t milliseconds() const override { return now.load(std::memory_order_relaxed); }
    void set(std::uint32_t value) { now.store(value, std::memory_order_relaxed); }
    void advance(std::uint32_t delta) { set(milliseconds() + delta); }

private:
    std::atomic<std::uint32_t> now;
};

Clock& systemClock();

}  // namespace platform
