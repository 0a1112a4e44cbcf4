// ReadingSeparatorTests.cpp — the tuner's number texts with a separator of several bytes.
#include <gtest/gtest.h>

#include <string>

#include "tuner/ReadingText.h"

namespace tonemark {

TEST(ReadingSeparator, SeveralBytesGoInWholeAtTheDecimalPoint) {
    const std::string arabic = "\xD9\xAB";  // U+066B
    std::string text;
    ASSERT_TRUE(formatFrequency(440.0f, 1, arabic, text));
    EXPECT_EQ(text, "440" + arabic + "00");
    ASSERT_TRUE(formatFrequency(0.0625f, 2, arabic, text));
    EXPECT_EQ(text, "0" + arabic + "063");
    ASSERT_TRUE(formatCents(-3.25f, 2, arabic, text));
    EXPECT_EQ(text, "-3" + arabic + "3");
    ASSERT_TRUE(formatCents(12.0f, 1, arabic, text));  // whole cents: no separator
    EXPECT_EQ(text, "+12");
}

}  // namespace tonemark
