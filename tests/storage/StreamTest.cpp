#include <gtest/gtest.h>

#include "Stream.h"
#include "VudError.h"

using ByteVec = std::vector<uint8_t>;

TEST(BerInt, WritesTheFewestBytes)
{
    const struct {
        uint32_t value;
        ByteVec bytes;
    } cases[] = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x81, 0x00}},
        {300, {0x82, 0x2C}},
        {16383, {0xFF, 0x7F}},
        {16384, {0x81, 0x80, 0x00}},
        {2097151, {0xFF, 0xFF, 0x7F}},
        {268435455, {0xFF, 0xFF, 0xFF, 0x7F}},
        {268435456, {0x81, 0x80, 0x80, 0x80, 0x00}},
        {0xFFFFFFFFu, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F}}, // -1
        {0xFFFFFFF8u, {0x8F, 0xFF, 0xFF, 0xFF, 0x78}}, // -8
    };
    for (const auto& c : cases) {
        TWriter w;
        WriteBerInt(w, c.value);
        EXPECT_EQ(w.Buf, c.bytes) << c.value;
        TReader r(w.Buf);
        EXPECT_EQ(ReadBerInt(r), c.value);
        EXPECT_TRUE(r.AtEnd());

        TWriter counted;
        WriteBerInt(counted, c.value, true);
        ASSERT_EQ(counted.Buf.size(), c.bytes.size() + 1);
        EXPECT_EQ(counted.Buf[0], c.bytes.size());
    }
}

TEST(BerInt, ReaderShiftsOutHighGroupsAndStopsAtTheLastByte)
{
    const ByteVec in = {0x81, 0x80, 0x80, 0x80, 0x80, 0x00, 0x2A};
    TReader r(in);
    EXPECT_EQ(ReadBerInt(r), 0u);
    EXPECT_EQ(ReadBerInt(r), 42u);
}

TEST(BerInt, EndOfStreamIsAReadError)
{
    const ByteVec in = {0x81, 0x80};
    TReader r(in);
    EXPECT_THROW(ReadBerInt(r), EReadError);
}

TEST(BerString, LengthBombFailsWithoutAllocating)
{
    const ByteVec in = {0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'};
    TReader r(in);
    std::string s;
    EXPECT_THROW(ReadBerString(r, s), EReadError);
    EXPECT_TRUE(s.empty());
}

TEST(BerString, RoundTripsBytes)
{
    TWriter w;
    WriteBerString(w, std::string("Hola\x80\x00z", 7));
    EXPECT_EQ(w.Buf[0], 7);
    TReader r(w.Buf);
    std::string s;
    ReadBerString(r, s);
    EXPECT_EQ(s, std::string("Hola\x80\x00z", 7));
}

TEST(Reader, SubViewIsBoundedAndAdvancesTheParent)
{
    const ByteVec in = {1, 2, 3, 4, 5};
    TReader r(in);
    r.ReadByte();
    TReader sub = r.Sub(2);
    EXPECT_EQ(r.Pos(), 3u);
    EXPECT_EQ(sub.ReadByte(), 2);
    EXPECT_EQ(sub.ReadByte(), 3);
    EXPECT_THROW(sub.ReadByte(), EReadError);
    EXPECT_THROW(r.Sub(3), EReadError);
}
