// BitHelperTests.cpp — lowestSetBit and reverseBits.
#include <gtest/gtest.h>

#include "tuner/fourier2.h"

namespace tonemark {

TEST(BitHelpers, LowestSetBitGivesTheOrderOfPowersOfTwo) {
    EXPECT_EQ(lowestSetBit(1), 0);
    EXPECT_EQ(lowestSetBit(8192), 13);
    EXPECT_EQ(lowestSetBit(32768), 15);
    EXPECT_EQ(lowestSetBit(12), 2);  // the lowest bit, not the highest
    EXPECT_EQ(lowestSetBit(0x80000000u), 31);
    EXPECT_EQ(lowestSetBit(0), 32);
}

TEST(BitHelpers, ReverseBitsReversesOnlyTheLowBits) {
    EXPECT_EQ(reverseBits(1, 3), 4u);
    EXPECT_EQ(reverseBits(6, 3), 3u);
    EXPECT_EQ(reverseBits(0xF1, 4), 8u);  // bits above the count are ignored
    EXPECT_EQ(reverseBits(1, 15), 16384u);
    EXPECT_EQ(reverseBits(5, 0), 0u);
    for (std::uint32_t i = 0; i < 1024; ++i) EXPECT_EQ(reverseBits(reverseBits(i, 10), 10), i);
}

}  // namespace tonemark
