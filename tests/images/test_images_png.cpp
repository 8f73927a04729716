// PNG reader and writer: structure of what we write, tolerance of what others write,
// and clear errors for malformed files.
#include "ImageTestUtil.h"
#include "VireoImageFile.h"
#include "VireoPng.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <sstream>

namespace {

using TBytes = std::vector<std::uint8_t>;

struct TChunk {
  std::string Type;
  TBytes Data;
};

TBytes zlibCompress(const TBytes& raw) {
  uLongf size = compressBound(uLong(raw.size()));
  TBytes out(size);
  EXPECT_EQ(compress(out.data(), &size, raw.data(), uLong(raw.size())), Z_OK);
  out.resize(size);
  return out;
}

TBytes chunkBytes(const TChunk& c, bool goodCrc = true) {
  TBytes out;
  VireoPutU32BE(out, std::uint32_t(c.Data.size()));
  out.insert(out.end(), c.Type.begin(), c.Type.end());
  out.insert(out.end(), c.Data.begin(), c.Data.end());
  uLong crc = crc32(0, out.data() + 4, uInt(4 + c.Data.size()));
  VireoPutU32BE(out, goodCrc ? std::uint32_t(crc) : std::uint32_t(crc) ^ 1);
  return out;
}

TBytes pngFile(const std::vector<TChunk>& chunks) {
  TBytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  for (const TChunk& c : chunks) {
    TBytes b = chunkBytes(c);
    out.insert(out.end(), b.begin(), b.end());
  }
  return out;
}

TChunk ihdr(std::uint32_t w, std::uint32_t h, int depth = 8, int type = 3, int interlace = 0) {
  TBytes d;
  VireoPutU32BE(d, w);
  VireoPutU32BE(d, h);
  d.insert(d.end(), {std::uint8_t(depth), std::uint8_t(type), 0, 0, std::uint8_t(interlace)});
  return {"IHDR", d};
}

std::vector<TChunk> parseChunks(const TBytes& png) {
  std::vector<TChunk> chunks;
  std::size_t pos = 8;
  while (pos + 12 <= png.size()) {
    std::uint32_t length = std::uint32_t(png[pos]) << 24 | png[pos + 1] << 16 |
                           png[pos + 2] << 8 | png[pos + 3];
    TChunk c{std::string(png.begin() + pos + 4, png.begin() + pos + 8),
             TBytes(png.begin() + pos + 8, png.begin() + pos + 8 + length)};
    const std::uint8_t* crcAt = png.data() + pos + 8 + length;
    std::uint32_t crc = std::uint32_t(crcAt[0]) << 24 | crcAt[1] << 16 | crcAt[2] << 8 | crcAt[3];
    EXPECT_EQ(crc, crc32(0, png.data() + pos + 4, uInt(4 + length))) << c.Type;
    chunks.push_back(c);
    pos += 12 + length;
  }
  EXPECT_EQ(pos, png.size());
  return chunks;
}

std::string errorOf(const TBytes& data) {
  try {
    TVireoBitmap b;
    VireoDecodePng(b, data.data(), data.size());
  } catch (const EVireoError& e) {
    return e.what();
  }
  return "";
}

// A small paletted picture as our writer stores it, split into its chunks.
std::vector<TChunk> smallPicture(TVireoBitmap* picture = nullptr) {
  TVireoBitmap b = RandomBitmap(7, 5, 8, 11);
  if (picture) *picture = b;
  return parseChunks(VireoEncodePng(b));
}

TEST(VireoPngWriter, OnlyHeaderPaletteFullIdatsAndEnd) {
  // Random pixels compress badly, so the data needs several IDATs.
  const TVireoBitmap picture = RandomBitmap(300, 400, 8, 1);
  const std::vector<TChunk> chunks = parseChunks(VireoEncodePng(picture));
  ASSERT_GE(chunks.size(), 5u);  // at least one full IDAT and the rest
  EXPECT_EQ(chunks[0].Type, "IHDR");
  EXPECT_EQ(chunks[0].Data, ihdr(300, 400).Data);
  EXPECT_EQ(chunks[1].Type, "PLTE");
  EXPECT_EQ(chunks[1].Data.size(), 768u);
  EXPECT_EQ(chunks[1].Data[3 * 255 + 2], picture.Palette[255].Blue);
  for (std::size_t i = 2; i + 1 < chunks.size(); ++i) {
    EXPECT_EQ(chunks[i].Type, "IDAT");
    if (i + 2 < chunks.size()) {
      EXPECT_EQ(chunks[i].Data.size(), 65536u);
    }
  }
  EXPECT_GT(chunks[chunks.size() - 2].Data.size(), 0u);
  EXPECT_LE(chunks[chunks.size() - 2].Data.size(), 65536u);
  EXPECT_EQ(chunks.back().Type, "IEND");
  EXPECT_TRUE(chunks.back().Data.empty());
}

TEST(VireoPngWriter, TruecolourHasNoPalette) {
  const std::vector<TChunk> chunks = parseChunks(VireoEncodePng(RandomBitmap(5, 3, 24, 2)));
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].Data, ihdr(5, 3, 8, 2).Data);
  EXPECT_EQ(chunks[1].Type, "IDAT");
}

TEST(VireoPngRoundTrip, EveryDepthComesBackAtEightOrTwentyFourBits) {
  struct {
    int Bits, ExpectedBits;
  } cases[] = {{1, 8}, {4, 8}, {8, 8}, {24, 24}, {32, 24}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Bits);
    const TVireoBitmap picture = RandomBitmap(33, 17, c.Bits, 3);
    const TBytes png = VireoEncodePng(picture);
    TVireoBitmap back;
    VireoDecodePng(back, png.data(), png.size());
    EXPECT_EQ(back.BitCount(), c.ExpectedBits);
    EXPECT_TRUE(SamePixels(picture, back));
    if (c.Bits == 24) {  // blue, green, red in memory, byte for byte
      for (int y = 0; y < 17; ++y)
        ASSERT_EQ(std::memcmp(back.ScanLine(y), picture.ScanLine(y), 33 * 3), 0);
    }
  }
}

// Every filter type, each row of the raw data choosing one, against the unfiltered rows.
TEST(VireoPngReader, UndoesAllFilters) {
  const int w = 6, h = 5, bpp = 3;
  TVireoBitmap expected(w, h, 24);
  std::mt19937 random(5);
  TBytes raw, prior(w * bpp, 0);
  for (int y = 0; y < h; ++y) {
    TBytes row(w * bpp);
    for (auto& v : row) v = std::uint8_t(random());
    for (int x = 0; x < w; ++x)  // stored blue-green-red
      for (int k = 0; k < 3; ++k) expected.ScanLine(y)[x * 3 + k] = row[x * 3 + 2 - k];
    const int filter = y % 5;
    raw.push_back(std::uint8_t(filter));
    for (int i = 0; i < w * bpp; ++i) {
      int a = i >= bpp ? row[i - bpp] : 0, b = prior[i], c = i >= bpp ? prior[i - bpp] : 0;
      int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      int predictor[5] = {0, a, b, (a + b) / 2,
                          (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c)};
      raw.push_back(std::uint8_t(row[i] - predictor[filter]));
    }
    prior = row;
  }
  const TBytes png = pngFile({ihdr(w, h, 8, 2), {"IDAT", zlibCompress(raw)}, {"IEND", {}}});
  TVireoBitmap back;
  VireoDecodePng(back, png.data(), png.size());
  EXPECT_TRUE(SamePixels(expected, back));
}

TEST(VireoPngReader, SplitIdatsExtraDataTextChunksAndBadCrcsAreTolerated) {
  TVireoBitmap picture;
  const std::vector<TChunk> chunks = smallPicture(&picture);
  const TBytes& data = chunks[2].Data;
  // Chunk boundaries every 3 bytes, so inside rows, plus text before and after the palette,
  // after the last IDAT and an extra IDAT after the last row.
  std::vector<TChunk> split = {chunks[0], {"tEXt", {'a', 0, 'b'}}, chunks[1], {"tEXt", {'c', 0}}};
  for (std::size_t i = 0; i < data.size(); i += 3)
    split.push_back({"IDAT", TBytes(data.begin() + i, data.begin() + std::min(i + 3, data.size()))});
  split.push_back({"IDAT", {1, 2, 3, 4}});
  split.push_back({"tEXt", {'d', 0}});
  split.push_back({"IEND", {}});
  TBytes png = pngFile(split);
  TVireoBitmap back;
  VireoDecodePng(back, png.data(), png.size());
  EXPECT_TRUE(SamePixels(picture, back));
  EXPECT_EQ(back.Palette, picture.Palette);

  TBytes badCrc = pngFile({chunks[0], chunks[1]});
  TBytes idat = chunkBytes(chunks[2], false), end = chunkBytes(chunks[3], false);
  badCrc.insert(badCrc.end(), idat.begin(), idat.end());
  badCrc.insert(badCrc.end(), end.begin(), end.end());
  VireoDecodePng(back, badCrc.data(), badCrc.size());
  EXPECT_TRUE(SamePixels(picture, back));
}

TEST(VireoPngReader, ShortPaletteLeavesTheRestBlack) {
  TVireoBitmap picture;
  std::vector<TChunk> chunks = smallPicture(&picture);
  chunks[1].Data.resize(30);  // ten entries
  const TBytes png = pngFile(chunks);
  TVireoBitmap back;
  VireoDecodePng(back, png.data(), png.size());
  EXPECT_EQ(back.Palette[9], picture.Palette[9]);
  EXPECT_EQ(back.Palette[10], TVireoPaletteEntry{});
  EXPECT_EQ(back.Palette.size(), 256u);
}

TEST(VireoPngReader, UnsupportedKindsAreNamedSo) {
  struct {
    int Depth, Type, Interlace;
  } cases[] = {{8, 0, 0}, {8, 4, 0}, {8, 6, 0}, {4, 3, 0}, {1, 3, 0}, {16, 2, 0}, {8, 3, 1},
               {8, 2, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Depth << "/" << c.Type << "/" << c.Interlace);
    EXPECT_EQ(errorOf(pngFile({ihdr(4, 4, c.Depth, c.Type, c.Interlace), {"IEND", {}}})),
              "Imagen PNG no soportada");
  }
}

TEST(VireoPngReader, MalformedFilesGiveTheirMessage) {
  const std::vector<TChunk> ok = smallPicture();
  const TChunk& head = ok[0];
  const TChunk& palette = ok[1];
  const TChunk& data = ok[2];
  const TChunk end{"IEND", {}};
  TBytes rows = TBytes(5 * 8, 0);  // five rows of filter 0 and seven pixels
  const TBytes halfRows = zlibCompress(TBytes(rows.begin(), rows.begin() + 16));
  TBytes longHeader = head.Data;
  longHeader.push_back(0);
  TBytes shortHeader(head.Data.begin(), head.Data.end() - 1);
  TBytes beyond = pngFile({head, palette, data, end});
  beyond[8 + 25 + 3] = 0xFF;  // PLTE claims more bytes than the file holds
  TBytes corrupt = data.Data;
  corrupt[2] ^= 0xFF;

  const std::string invalid = "Imagen PNG no válida", readError = "Error leyendo flujo";
  struct {
    const char* Name;
    TBytes File;
    std::string Message;
  } cases[] = {
      {"signature", TBytes{0x89, 'P', 'N', 'G', 0, 0, 0, 0, 0}, invalid},
      {"palette before header", pngFile({palette, head, data, end}), invalid},
      {"data before header", pngFile({data, head, end}), invalid},
      {"header twice", pngFile({head, palette, head, data, end}), invalid},
      {"header of 14 bytes", pngFile({{"IHDR", longHeader}, data, end}), invalid},
      {"header of 12 bytes", pngFile({{"IHDR", shortHeader}, data, end}), invalid},
      {"palette of 771 bytes", pngFile({head, {"PLTE", TBytes(771, 0)}, data, end}), invalid},
      {"end before the last row", pngFile({head, palette, {"IDAT", halfRows}, end}), invalid},
      {"end with data", pngFile({head, palette, data, {"IEND", {0}}}), invalid},
      {"row continues into text", pngFile({head, palette,
                                           {"IDAT", TBytes(data.Data.begin(), data.Data.begin() + 4)},
                                           {"tEXt", {'a', 0}},
                                           {"IDAT", TBytes(data.Data.begin() + 4, data.Data.end())},
                                           end}),
       invalid},
      {"no end", pngFile({head, palette, data}), readError},
      {"chunk beyond the file", beyond, readError},
      {"corrupt deflate data", pngFile({head, palette, {"IDAT", corrupt}, end}), "Error Zlib"},
      {"too wide", pngFile({ihdr(20000, 1), end}), "Imagen PNG no soportada"},
      {"too many pixels", pngFile({ihdr(16384, 16385), end}), "Imagen PNG no soportada"},
      // 16384 x 16384 cannot come out of a few bytes of data: refused before allocating.
      {"size the data cannot hold", pngFile({ihdr(16384, 16384), palette, data, end}), invalid},
  };
  for (const auto& c : cases) EXPECT_EQ(errorOf(c.File), c.Message) << c.Name;
}

TEST(VireoPngReader, EveryTruncationFailsCleanly) {
  const TBytes png = VireoEncodePng(RandomBitmap(9, 4, 24, 4));
  for (std::size_t n = 0; n < png.size(); ++n) {
    const std::string message = errorOf(TBytes(png.begin(), png.begin() + n));
    EXPECT_FALSE(message.empty()) << n;
  }
}

TEST(VireoPngStream, StreamFrontEndsMatchTheFunctions) {
  TVireoPng picture(4, 3, 8);
  picture.ScanLine(2)[3] = 200;
  picture.Palette[200] = {1, 2, 3, 0};
  std::stringstream stream;
  picture.SaveToStream(stream);
  EXPECT_EQ(stream.str().size(), VireoEncodePng(picture).size());
  TVireoPng back;
  back.LoadFromStream(stream);
  EXPECT_TRUE(SamePixels(picture, back));
}

}  // namespace
