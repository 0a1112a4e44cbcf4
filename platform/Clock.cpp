// Clock.cpp — the system tick count.
#include "platform/Clock.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

namespace platform {

namespace {
class SystemClock final : public Clock {
public:
    std::uint32_t milliseconds() const override {
#if defined(_WIN32)
        return static_cast<std::uint32_t>(GetTickCount());
#else
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                          static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
#endif
    }
};
}  // namespace

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace platform
