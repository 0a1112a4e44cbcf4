// FloatingPoint.h — the floating-point environment of the calling thread.
//
//   maskFloatingPointExceptions()  all exceptions non-trapping; on 32-bit x86
//                                  also ORs 0x013F into the x87 control word
//   DenormalGuard                  flush-to-zero and denormals-are-zero for the
//                                  lifetime of the guard, restoring the caller's
//                                  state afterwards (audio calls)
//   FloatingPointStateGuard        the caller's control state (MXCSR, and the
//                                  x87 control word on 32-bit x86) as it was
//                                  when the guard began, put back when it ends:
//                                  for hosts whose rules forbid a plug-in to
//                                  change their thread's state
#pragma once

#include <cstdint>

namespace platform {

void maskFloatingPointExceptions();

class DenormalGuard {
public:
    DenormalGuard();
    ~DenormalGuard();
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
    std::uint32_t savedState;
};

class FloatingPointStateGuard {
public:
    FloatingPointStateGuard();
    ~FloatingPointStateGuard();
    FloatingPointStateGuard(const FloatingPointStateGuard&) = delete;
    FloatingPointStateGuard& operator=(const FloatingPointStateGuard&) = delete;

private:
    std::uint32_t savedMxcsr;
    std::uint16_t savedX87Control = 0;
};

}  // namespace platform
