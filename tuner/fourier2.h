// fourier2.h — bit helpers of the radix-2 transform.
//
//   lowestSetBit  index of the lowest set bit (32 for zero): log2 of a power of two
//   reverseBits   the lowest `bits` bits of an index in reverse order
#pragma once

#include <cstdint>

namespace tonemark {

std::int32_t lowestSetBit(std::uint32_t x);
std::uint32_t reverseBits(std::uint32_t index, std::int32_t bits);

}  // namespace tonemark
