// HostFloatingPoint.cpp — MXCSR and x87 control word, saved and restored.
#include "clap/HostFloatingPoint.h"

#include <xmmintrin.h>

namespace clapadapter {

HostFloatingPoint::HostFloatingPoint() : mxcsr_(_mm_getcsr()) {
#if defined(__i386__)
    __asm__ volatile("fnstcw %0" : "=m"(x87_));
#endif
}

HostFloatingPoint::~HostFloatingPoint() {
#if defined(__i386__)
    __asm__ volatile("fldcw %0" : : "m"(x87_));
#endif
    _mm_setcsr(mxcsr_);
}

}  // namespace clapadapter
