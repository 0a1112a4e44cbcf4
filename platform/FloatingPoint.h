// FloatingPoint.h — the floating-point environment of the calling thread.
//
//   maskFloatingPointExceptions()  all exceptions non-trapping; on 32-bit x86
//                                  also ORs 0x013F into the x87 control word
//   DenormalGuard                  flush-to-zero and denormals-are-zero for the
//                                  lifetime of the guard, restoring the caller's
//                                  state afterwards (audio calls)
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

}  // namespace platform
