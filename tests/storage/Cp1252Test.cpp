#include <gtest/gtest.h>

#include "Cp1252.h"

TEST(Cp1252, EveryByteRoundTripsThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1252(utf8, back));
    EXPECT_EQ(back, all);
}

TEST(Cp1252, MapsTheHighRangeAndUndefinedBytes)
{
    EXPECT_EQ(Cp1252ToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0x9F), u'\u0178');
    EXPECT_EQ(Cp1252ToUnicode(0x81), u'\u0081');
    EXPECT_EQ(Cp1252ToUnicode(0xF1), u'\u00F1');
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(UnicodeToCp1252(0x20AC), 0x80);
    EXPECT_EQ(UnicodeToCp1252(0x4E2D), -1); // not in the code page
}

TEST(Cp1252, RefusesTextItCannotHold)
{
    std::string out;
    EXPECT_TRUE(Utf8ToCp1252("Ca\xC3\xB1\xC3\xB3n", out)); // Cañón
    EXPECT_EQ(out, "Ca\xF1\xF3n");
    EXPECT_FALSE(Utf8ToCp1252("\xE4\xB8\xAD", out)); // a CJK character
    EXPECT_FALSE(Utf8ToCp1252("\xC3", out));          // cut sequence
    EXPECT_FALSE(Utf8ToCp1252("\xC0\x80", out));      // overlong
}
