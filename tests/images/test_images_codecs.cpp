// XYZ and BMP codecs, and loading by signature / saving by extension.
#include "ImageTestUtil.h"
#include "VireoBmp.h"
#include "VireoImageFile.h"
#include "VireoPng.h"
#include "VireoXyz.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <fstream>

namespace {

using TBytes = std::vector<std::uint8_t>;

template <class Decode>
std::string errorOf(Decode decode, const TBytes& data) {
  try {
    TVireoBitmap b;
    decode(b, data.data(), data.size());
  } catch (const EVireoError& e) {
    return e.what();
  }
  return "";
}

TBytes inflateAll(const std::uint8_t* data, std::size_t size, std::size_t room) {
  TBytes out(room);
  uLongf length = uLongf(room);
  EXPECT_EQ(uncompress(out.data(), &length, data, uLong(size)), Z_OK);
  out.resize(length);
  return out;
}

TBytes xyzFile(int w, int h, const TBytes& raw) {
  TBytes out = {'X', 'Y', 'Z', '1'};
  VireoPutU16LE(out, std::uint16_t(w));
  VireoPutU16LE(out, std::uint16_t(h));
  uLongf size = compressBound(uLong(raw.size()));
  TBytes packed(size);
  compress(packed.data(), &size, raw.data(), uLong(raw.size()));
  out.insert(out.end(), packed.begin(), packed.begin() + size);
  return out;
}

TEST(VireoXyz, OneByOneIsHeaderAndSevenHundredSixtyNineBytes) {
  TVireoBitmap picture(1, 1, 8);
  picture.Palette[0] = {10, 20, 30, 0};
  picture.Palette[255] = {1, 2, 3, 0};
  picture.ScanLine(0)[0] = 255;
  const TBytes xyz = VireoEncodeXyz(picture);
  const TBytes header = {0x58, 0x59, 0x5A, 0x31, 0x01, 0x00, 0x01, 0x00};
  ASSERT_GT(xyz.size(), 8u);
  EXPECT_EQ(TBytes(xyz.begin(), xyz.begin() + 8), header);
  const TBytes raw = inflateAll(xyz.data() + 8, xyz.size() - 8, 4096);
  ASSERT_EQ(raw.size(), 769u);
  EXPECT_EQ(TBytes(raw.begin(), raw.begin() + 3), (TBytes{10, 20, 30}));
  EXPECT_EQ(TBytes(raw.begin() + 765, raw.end()), (TBytes{1, 2, 3, 255}));
}

TEST(VireoXyz, RoundTripAndLowerDepths) {
  for (int bits : {1, 4, 8}) {
    const TVireoBitmap picture = RandomBitmap(31, 9, bits, 7);
    const TBytes xyz = VireoEncodeXyz(picture);
    TVireoBitmap back;
    VireoDecodeXyz(back, xyz.data(), xyz.size());
    EXPECT_EQ(back.BitCount(), 8);
    EXPECT_TRUE(SamePixels(picture, back)) << bits;
  }
}

TEST(VireoXyz, ShortDataLeavesTheRestZero) {
  TBytes raw(768 + 4, 0);
  raw[0] = 99;
  raw[768] = 5;
  const TBytes xyz = xyzFile(3, 3, raw);  // 9 indices promised, 4 stored
  TVireoBitmap back;
  VireoDecodeXyz(back, xyz.data(), xyz.size());
  EXPECT_EQ(back.Palette[0].Red, 99);
  EXPECT_EQ(back.ScanLine(0)[0], 5);
  EXPECT_EQ(back.ScanLine(2)[2], 0);
}

TEST(VireoXyz, MalformedFilesGiveTheirMessage) {
  const TBytes good = VireoEncodeXyz(RandomBitmap(4, 4, 8, 8));
  TBytes corrupt = good;
  corrupt[10] ^= 0x55;
  TBytes bomb = good;  // 16384 x 16384 promised by a file of a few hundred bytes
  bomb[4] = 0x00, bomb[5] = 0x40, bomb[6] = 0x00, bomb[7] = 0x40;
  TBytes wide = good;  // 65535 wide: beyond the side cap
  wide[4] = 0xFF, wide[5] = 0xFF, wide[6] = 1, wide[7] = 0;
  const std::string invalid = "Imagen XYZ no válida";
  struct {
    const char* Name;
    TBytes File;
    std::string Message;
  } cases[] = {
      {"magic", TBytes{'X', 'Y', 'Z', '2', 1, 0, 1, 0}, invalid},
      {"header cut", TBytes{'X', 'Y', 'Z', '1', 1, 0}, "Error leyendo flujo"},
      {"no data", TBytes{'X', 'Y', 'Z', '1', 1, 0, 1, 0}, "Error Zlib"},
      {"cut short", TBytes(good.begin(), good.end() - 6), "Error Zlib"},
      {"corrupt", corrupt, "Error Zlib"},
      {"more data than the size", xyzFile(2, 2, TBytes(768 + 5, 1)), "Error Zlib"},
      {"size the data cannot hold", bomb, invalid},
      {"beyond the cap", wide, invalid},
  };
  for (const auto& c : cases) EXPECT_EQ(errorOf(VireoDecodeXyz, c.File), c.Message) << c.Name;
}

TEST(VireoXyz, WriterRefusesSizesItsHeaderCannotHold) {
  const TVireoBitmap wide(65536, 1, 8);
  EXPECT_THROW(VireoEncodeXyz(wide), EInvalidGraphic);
  EXPECT_NO_THROW(VireoEncodeXyz(TVireoBitmap(65535, 1, 8)));
}

TEST(VireoXyz, TruecolourIsStoredWithAnExactPaletteOrRefused) {
  TVireoBitmap few(20, 20, 24);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) few.ScanLine(y)[x * 3] = std::uint8_t(x * 10 + y % 3);
  const TBytes xyz = VireoEncodeXyz(few);
  TVireoBitmap back;
  VireoDecodeXyz(back, xyz.data(), xyz.size());
  EXPECT_TRUE(SamePixels(few, back));
  EXPECT_THROW(VireoEncodeXyz(RandomBitmap(40, 40, 24, 5)), EInvalidGraphic);  // > 256 colours
}

// --- BMP ---

std::uint32_t u32At(const TBytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

// A 40-byte-header bitmap around the given pixel data.
TBytes bmpFile(int w, int h, int bits, int compression, const TBytes& palette,
               const TBytes& pixels) {
  TBytes out = {'B', 'M'};
  const std::uint32_t offset = 14 + 40 + std::uint32_t(palette.size());
  VireoPutU32LE(out, offset + std::uint32_t(pixels.size()));
  VireoPutU32LE(out, 0);
  VireoPutU32LE(out, offset);
  VireoPutU32LE(out, 40);
  VireoPutU32LE(out, std::uint32_t(w));
  VireoPutU32LE(out, std::uint32_t(h));
  VireoPutU16LE(out, 1);
  VireoPutU16LE(out, std::uint16_t(bits));
  VireoPutU32LE(out, std::uint32_t(compression));
  VireoPutU32LE(out, std::uint32_t(pixels.size()));
  VireoPutU32LE(out, 0);
  VireoPutU32LE(out, 0);
  VireoPutU32LE(out, std::uint32_t(palette.size() / 4));
  VireoPutU32LE(out, 0);
  out.insert(out.end(), palette.begin(), palette.end());
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

std::vector<std::vector<int>> indices(const TVireoBitmap& b) {
  std::vector<std::vector<int>> rows(b.Height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) rows[y].push_back(b.PixelIndex(x, y));
  return rows;
}

TEST(VireoBmp, EightBitFilesStayEightBit) {
  const TVireoBitmap picture = RandomBitmap(5, 3, 8, 9);
  const TBytes bmp = VireoEncodeBmp(picture);
  EXPECT_EQ(bmp.size(), 14u + 40 + 1024 + 3 * 8);  // rows padded to 8 bytes
  EXPECT_EQ(u32At(bmp, 10), 14u + 40 + 1024);        // pixel offset
  EXPECT_EQ(bmp[28], 8);                             // bits per pixel
  EXPECT_EQ(u32At(bmp, 46), 256u);                   // colours used
  EXPECT_EQ(bmp[54 + 4 * 7], picture.Palette[7].Blue);
  EXPECT_EQ(bmp[54 + 1024], picture.ScanLine(2)[0]);  // bottom row first
  TVireoBitmap back;
  VireoDecodeBmp(back, bmp.data(), bmp.size());
  EXPECT_EQ(back.BitCount(), 8);
  EXPECT_EQ(indices(back), indices(picture));
  EXPECT_EQ(back.Palette, picture.Palette);
}

TEST(VireoBmp, RoundTripsOfEveryDepth) {
  struct {
    int Bits, Written;
  } cases[] = {{1, 8}, {4, 8}, {8, 8}, {24, 24}, {32, 24}};
  for (const auto& c : cases) {
    const TVireoBitmap picture = RandomBitmap(13, 6, c.Bits, 10);
    const TBytes bmp = VireoEncodeBmp(picture);
    TVireoBitmap back;
    VireoDecodeBmp(back, bmp.data(), bmp.size());
    EXPECT_EQ(back.BitCount(), c.Written) << c.Bits;
    EXPECT_TRUE(SamePixels(picture, back)) << c.Bits;
  }
}

TEST(VireoBmp, RunLengthEncodings) {
  TBytes palette(16 * 4, 0);
  // RLE4, bottom row first: a run of alternating 1/2; a literal 3,4,5; then a delta to
  // column 4 of the top row and a run of 7s.
  const TBytes rle4 = {6, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 4, 0, 2, 0x77, 0, 1};
  TBytes file = bmpFile(6, 3, 4, 2, palette, rle4);
  TVireoBitmap b;
  VireoDecodeBmp(b, file.data(), file.size());
  EXPECT_EQ(b.BitCount(), 4);
  EXPECT_EQ(indices(b), (std::vector<std::vector<int>>{
                            {0, 0, 0, 0, 7, 7}, {3, 4, 5, 0, 0, 0}, {1, 2, 1, 2, 1, 2}}));
  // RLE8: an odd literal (padded), a run reaching past the row (dropped), end of line,
  // a run, and the data ending without an end-of-bitmap code.
  const TBytes rle8 = {0, 3, 9, 8, 7, 0, 5, 1, 0, 0, 2, 6};
  palette.resize(256 * 4);
  file = bmpFile(4, 2, 8, 1, palette, rle8);
  VireoDecodeBmp(b, file.data(), file.size());
  EXPECT_EQ(indices(b), (std::vector<std::vector<int>>{{6, 6, 0, 0}, {9, 8, 7, 1}}));
  // A few bytes claiming 8192 x 8192 run-length pixels are refused before allocating.
  file = bmpFile(8192, 8192, 8, 1, palette, {0, 1});
  EXPECT_EQ(errorOf(VireoDecodeBmp, file), "Imagen BMP no soportada");
}

TEST(VireoBmp, TopDownAndBitFieldFiles) {
  TBytes pixels = {1, 2, 3, 0, 4, 5, 6, 0};  // two rows of one 24-bit pixel, padded
  TBytes file = bmpFile(1, -2, 24, 0, {}, pixels);
  TVireoBitmap b;
  VireoDecodeBmp(b, file.data(), file.size());
  EXPECT_EQ(PixelRgb(b, 0, 0), 0x030201u);  // the first stored row is the top one
  // 16-bit 5-6-5 through bit fields: masks follow the 40-byte header.
  TBytes masks;
  VireoPutU32LE(masks, 0xF800);
  VireoPutU32LE(masks, 0x07E0);
  VireoPutU32LE(masks, 0x001F);
  TBytes rgb565 = {0x00, 0xF8, 0xE0, 0x07};  // pure red, pure green
  file = bmpFile(2, 1, 16, 3, masks, rgb565);
  file[46] = 0;  // those 12 bytes are masks, not palette entries
  VireoDecodeBmp(b, file.data(), file.size());
  EXPECT_EQ(b.BitCount(), 24);
  EXPECT_EQ(PixelRgb(b, 0, 0), 0xFF0000u);
  EXPECT_EQ(PixelRgb(b, 1, 0), 0x00FF00u);
}

TEST(VireoBmp, HeaderFieldsAreCheckedAgainstTheFile) {
  const TBytes good = VireoEncodeBmp(RandomBitmap(5, 3, 8, 12));
  auto with = [&](std::size_t at, std::uint32_t value) {
    TBytes b = good;
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(value >> (8 * i));
    return b;
  };
  auto with16 = [&](std::size_t at, std::uint16_t value) {
    TBytes b = good;
    b[at] = std::uint8_t(value), b[at + 1] = std::uint8_t(value >> 8);
    return b;
  };
  const std::string invalid = "Imagen BMP no válida", unsupported = "Imagen BMP no soportada";
  struct {
    const char* Name;
    TBytes File;
    std::string Message;
  } cases[] = {
      {"magic", with16(0, 0x4142), invalid},
      {"header size 7", with(14, 7), invalid},
      {"header beyond the file", with(14, 124), invalid},
      {"pixel offset beyond the file", with(10, 100000), invalid},
      {"rows beyond the file", with(22, 4), invalid},
      {"negative width", with(18, 0xFFFFFFFF), invalid},
      {"too wide", with(18, 70000), unsupported},
      {"colours used above 256", with(46, 257), invalid},
      {"palette beyond the file", {}, invalid},
      {"two bits per pixel", with16(28, 2), unsupported},
      {"jpeg inside", with(30, 4), unsupported},
      {"rle4 on 8 bits", with(30, 2), invalid},
      {"cut header", TBytes(good.begin(), good.begin() + 20), "Error leyendo flujo"},
  };
  // 256 palette entries declared, the file ends after 100 bytes of them.
  cases[8].File = with(10, 14 + 40 + 4);
  cases[8].File.resize(14 + 40 + 100);
  for (const auto& c : cases) EXPECT_EQ(errorOf(VireoDecodeBmp, c.File), c.Message) << c.Name;
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_FALSE(errorOf(VireoDecodeBmp, TBytes(good.begin(), good.begin() + n)).empty()) << n;
}

// --- loading by signature, saving by extension ---

TEST(VireoImageFile, SaveChoosesByExtensionLoadBySignature) {
  const TTestDir dir;
  const TVireoBitmap picture = RandomBitmap(6, 4, 8, 13);
  struct {
    const char* Name;
    std::uint8_t FirstByte;
  } cases[] = {{"a.png", 0x89}, {"b.PNG", 0x89}, {"c.Xyz", 'X'}, {"d.bmp", 'B'},
               {"e.gif", 'B'},  {"f", 'B'}};
  for (const auto& c : cases) {
    SaveImageFile(picture, dir / c.Name);
    const TBytes bytes = VireoReadFile(dir / c.Name);
    EXPECT_EQ(bytes.at(0), c.FirstByte) << c.Name;
    TVireoBitmap back;
    LoadImageFile(back, dir / c.Name);
    EXPECT_TRUE(SamePixels(picture, back)) << c.Name;
  }
  // An XYZ file named .png is read as XYZ.
  std::filesystem::rename(dir / "c.Xyz", dir / "g.png");
  TVireoBitmap back;
  LoadImageFile(back, dir / "g.png");
  EXPECT_TRUE(SamePixels(picture, back));
  // Nothing but the saved files is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            6);
}

TEST(VireoImageFile, EmptyMissingAndUnwritable) {
  const TTestDir dir;
  const TBytes empty = xyzFile(0, 7, TBytes(768, 0));
  std::ofstream(dir / "empty.xyz", std::ios::binary)
      .write(reinterpret_cast<const char*>(empty.data()), std::streamsize(empty.size()));
  TVireoBitmap b;
  try {
    LoadImageFile(b, dir / "empty.xyz");
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Mapa de bits vacío");
  }
  EXPECT_THROW(LoadImageFile(b, dir / "missing.png"), EVireoFileError);
  EXPECT_THROW(SaveImageFile(RandomBitmap(2, 2, 8, 1), dir / "no" / "such.png"), EVireoFileError);
  // A failed save leaves the old file as it was.
  SaveImageFile(RandomBitmap(2, 2, 8, 1), dir / "keep.xyz");
  const TBytes before = VireoReadFile(dir / "keep.xyz");
  EXPECT_THROW(SaveImageFile(TVireoBitmap(70000, 1, 8), dir / "keep.xyz"), EInvalidGraphic);
  EXPECT_EQ(VireoReadFile(dir / "keep.xyz"), before);
}

}  // namespace
