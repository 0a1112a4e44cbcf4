// RoundToInt.h — double to 32-bit integer, nearest with ties to even.
//
//   roundToInt   one SSE2 conversion under the thread's rounding mode (nearest,
//                ties to even by default) — the same result as std::nearbyint,
//                without a library call on the per-sample path. A value outside
//                the int32 range, or NaN, gives INT32_MIN (the processor's
//                "integer indefinite"), never undefined behaviour.
//   roundToIntLimited  the same for values that may lie anywhere: limited to
//                the given range first; NaN gives the fallback.
#pragma once

#include <cstdint>
#include <emmintrin.h>

namespace widefield {

inline std::int32_t roundToInt(double value) { return _mm_cvtsd_si32(_mm_set_sd(value)); }

inline std::int32_t roundToIntLimited(double value, std::int32_t low, std::int32_t high, std::int32_t fallback) {
    if (value != value) return fallback;
    if (value <= static_cast<double>(low)) return low;
    if (value >= static_cast<double>(high)) return high;
    return roundToInt(value);
}

}  // namespace widefield
