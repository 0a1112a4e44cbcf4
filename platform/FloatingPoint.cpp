// FloatingPoint.cpp — x87 control word and SSE MXCSR handling.
#include "platform/FloatingPoint.h"

#include <xmmintrin.h>

namespace platform {

namespace {
constexpr std::uint32_t kMxcsrExceptionMasks = 0x1F80;  // IM DM ZM OM UM PM
constexpr std::uint32_t kMxcsrFlushToZero = 0x8000;
constexpr std::uint32_t kMxcsrDenormalsAreZero = 0x0040;
}  // namespace

void maskFloatingPointExceptions() {
#if defined(__i386__)
    // The x87 unit: mask all six exceptions and set the low precision-control bit,
    // leaving rounding control alone.
    std::uint16_t control = 0;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    control = static_cast<std::uint16_t>(control | 0x013F);
    __asm__ volatile("fldcw %0" : : "m"(control));
#endif
    // Float arithmetic runs on SSE on every build: mask its exceptions too.
    _mm_setcsr(_mm_getcsr() | kMxcsrExceptionMasks);
}

FloatingPointStateGuard::FloatingPointStateGuard() : savedMxcsr(_mm_getcsr()) {
#if defined(__i386__)
    __asm__ volatile("fnstcw %0" : "=m"(savedX87Control));
#endif
}

FloatingPointStateGuard::~FloatingPointStateGuard() {
#if defined(__i386__)
    __asm__ volatile("fldcw %0" : : "m"(savedX87Control));
#endif
    _mm_setcsr(savedMxcsr);
}

DenormalGuard::DenormalGuard() : savedState(_mm_getcsr()) {
    _mm_setcsr(savedState | kMxcsrFlushToZero | kMxcsrDenormalsAreZero);
}

DenormalGuard::~DenormalGuard() { _mm_setcsr(savedState); }

}  // namespace platform
