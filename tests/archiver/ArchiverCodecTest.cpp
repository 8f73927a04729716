// CRC-16, the -lh5- codec and level-2 headers, on their own.
#include <gtest/gtest.h>

#include <sstream>

#include "ArchiverTestSupport.h"
#include "LhaCodec.h"
#include "LhaCrc16.h"
#include "LhaError.h"
#include "LhaHeader.h"

namespace {

std::string decode(const std::vector<uint8_t>& packed, size_t size, int dictBits = 13) {
  std::string out(size, '\0');
  TLhaDecoder dec(packed.data(), packed.size(), dictBits);
  // Odd piece sizes exercise the decoder's resumable copy.
  for (size_t done = 0; done < size;) {
    size_t k = std::min<size_t>(777, size - done);
    dec.Decode(reinterpret_cast<uint8_t*>(&out[done]), k);
    done += k;
  }
  return out;
}

}  // namespace

TEST(ArchiverCodec, Crc16KnownValues) {
  struct { std::string in; uint16_t crc; } cases[] = {
      {"", 0x0000}, {"123456789", 0xBB3D}, {"data\n", 0xB987},
      {"the cat sat on the mat; the cat sat on.\n", 0xBEE5}};
  for (const auto& c : cases)
    EXPECT_EQ(LhaCrc16(reinterpret_cast<const uint8_t*>(c.in.data()), c.in.size()), c.crc) << c.in;
}

// A member written by another LHA implementation (the worked example of our format notes,
// 37 bytes of -lh5- from an independent LHA writer): our decoder must give back the 40 bytes.
TEST(ArchiverCodec, DecodesStreamOfAnotherWriter) {
  const uint8_t packed[] = {0x00, 0x16, 0x43, 0x4e, 0x69, 0xc3, 0x07, 0x68, 0x07, 0x14, 0x92,
                            0xd0, 0x8b, 0x18, 0xc8, 0x82, 0xa8, 0x1f, 0x53, 0xbf, 0xe3, 0x76,
                            0x00, 0x84, 0x8d, 0x48, 0x87, 0x23, 0x9d, 0x77, 0x07, 0xad, 0x6e,
                            0x58, 0x7f, 0x75, 0x40};
  std::vector<uint8_t> v(std::begin(packed), std::end(packed));
  EXPECT_EQ(decode(v, 40), "the cat sat on the mat; the cat sat on.\n");
  // Our encoder makes the same 37 bytes' worth of symbols for it.
  std::string text = "the cat sat on the mat; the cat sat on.\n";
  EXPECT_EQ(Lh5Encode(reinterpret_cast<const uint8_t*>(text.data()), text.size()).size(), 37u);
}

TEST(ArchiverCodec, RoundTripsAcrossShapesOfData) {
  std::string text;
  for (int i = 0; i < 4000; ++i) text += "Línea " + std::to_string(i * 7 % 1000) + " del mapa\n";
  std::string farRepeat = randomBytes(8192, 1);
  farRepeat += farRepeat + randomBytes(100, 2) + farRepeat.substr(0, 300);  // distance 8192
  std::string mixed = text + randomBytes(70000, 3) + std::string(200000, '\0') + text;
  struct { const char* what; std::string data; } cases[] = {
      {"one byte", "x"},
      {"two symbols", "ab"},
      {"one long run (single-symbol tables)", std::string(300000, 'z')},
      {"text", text},
      {"random", randomBytes(100000, 4)},
      {"matches at the window's far edge", farRepeat},
      {"many blocks of mixed data", mixed},
  };
  for (const auto& c : cases) {
    auto packed = Lh5Encode(reinterpret_cast<const uint8_t*>(c.data.data()), c.data.size());
    EXPECT_EQ(decode(packed, c.data.size()), c.data) << c.what;
  }
}

TEST(ArchiverCodec, DamagedStreamsAreErrorsNotCrashes) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "abc" + std::to_string(i);
  auto packed = Lh5Encode(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  // Cut short: the decoder notices the missing input.
  std::vector<uint8_t> cut(packed.begin(), packed.begin() + long(packed.size() / 2));
  EXPECT_THROW(decode(cut, text.size()), ELhaError);
  // Flipped bits: either an error or wrong bytes, never a crash (the CRC catches the rest).
  for (size_t i = 0; i < packed.size(); i += 7) {
    auto bad = packed;
    bad[i] ^= 0x5A;
    try {
      decode(bad, text.size());
    } catch (const ELhaError&) {
    }
  }
  // An empty block count is refused.
  EXPECT_THROW(decode({0, 0, 0, 0}, 10), ELhaError);
}

TEST(ArchiverCodec, Level2HeaderPaddingAndRoundTrip) {
  // Name lengths around the 256-byte total: the header must never end with a 0x00 low byte.
  for (size_t len = 200; len < 240; ++len) {
    TLhaEntry e;
    e.Method = "-lh0-";
    e.Path = "dir one/" + std::string(len, 'n');
    e.Mode = 0100755;
    e.MTime = 1710506096;
    auto h = LhaWriteHeader(e);
    ASSERT_NE(h.size() & 0xFF, 0u) << len;
    EXPECT_EQ(h[0] | h[1] << 8, int(h.size()));
    std::string archive(h.begin(), h.end());
    archive += '\0';
    std::istringstream in(archive);
    TLhaEntry back;
    ASSERT_TRUE(LhaReadHeader(in, archive.size(), back));
    EXPECT_EQ(back.Path, e.Path);
    EXPECT_EQ(back.Mode, e.Mode);
    EXPECT_EQ(back.MTime, e.MTime);
    EXPECT_EQ(back.OsId, 'U');
  }
}
