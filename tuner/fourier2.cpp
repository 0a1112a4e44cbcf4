// fourier2.cpp — bit helpers of the radix-2 transform.
#include "tuner/fourier2.h"

namespace tonemark {

std::int32_t lowestSetBit(std::uint32_t x) {
    std::int32_t bit = 0;
    while (bit < 32 && (x & (1u << bit)) == 0) ++bit;
    return bit;
}

std::uint32_t reverseBits(std::uint32_t index, std::int32_t bits) {
    std::uint32_t result = 0;
    for (std::int32_t i = 0; i < bits; ++i) {
        result = (result << 1) | (index & 1u);
        index >>= 1;
    }
    return result;
}

}  // namespace tonemark
