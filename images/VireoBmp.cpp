#include "VireoBmp.h"

#include <bit>
#include <cstring>

namespace {

constexpr std::uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3;
constexpr std::int64_t MaxRlePixels = std::int64_t(1) << 24;  // 4096 x 4096

[[noreturn]] void invalid() {
  throw EInvalidGraphic(VireoMsg::BmpInvalid);
}

[[noreturn]] void unsupported() {
  throw EInvalidGraphic(VireoMsg::BmpUnsupported);
}

struct TBmpHeader {
  std::uint32_t PixelOffset = 0;
  std::uint32_t HeaderSize = 0;
  std::int64_t Width = 0, Height = 0;
  int BitCount = 0;
  std::uint32_t Compression = BiRgb;
  std::uint32_t ColorsUsed = 0;
  std::uint32_t Masks[4] = {};  // red, green, blue, alpha
  bool TopDown = false;
  std::size_t PaletteOffset = 0;
  int PaletteEntrySize = 4;
};

// One channel of a bit-field pixel, widened or narrowed to 8 bits.
struct TChannel {
  std::uint32_t Mask = 0;
  int Shift = 0, Bits = 0;
  explicit TChannel(std::uint32_t mask) : Mask(mask) {
    if (mask) {
      Shift = std::countr_zero(mask);
      Bits = std::popcount(mask);
    }
  }
  std::uint8_t Get(std::uint32_t pixel) const {
    if (!Mask) return 0;
    std::uint32_t v = (pixel & Mask) >> Shift;
    if (Bits >= 8) return std::uint8_t(v >> (Bits - 8));
    return std::uint8_t(v * 255 / ((1u << Bits) - 1));
  }
};

TBmpHeader readHeader(TVireoByteReader& r) {
  TBmpHeader h;
  const std::uint8_t* magic = r.Take(2);
  if (magic[0] != 'B' || magic[1] != 'M') invalid();
  r.Skip(8);  // file size and reserved words: not trusted
  h.PixelOffset = r.U32LE();
  h.HeaderSize = r.U32LE();
  if (h.HeaderSize != 12 && (h.HeaderSize < 40 || h.HeaderSize > 124)) invalid();
  if (h.HeaderSize > r.Size() - 14) throw EVireoReadError(VireoMsg::ReadError);
  if (h.HeaderSize == 12) {
    h.Width = r.U16LE();
    h.Height = r.U16LE();
    r.Skip(2);  // planes
    h.BitCount = r.U16LE();
    h.PaletteEntrySize = 3;
  } else {
    h.Width = std::int32_t(r.U32LE());
    h.Height = std::int32_t(r.U32LE());
    r.Skip(2);
    h.BitCount = r.U16LE();
    h.Compression = r.U32LE();
    r.Skip(12);  // image size and resolution
    h.ColorsUsed = r.U32LE();
    r.Skip(4);
    if (h.HeaderSize >= 52) {
      for (int i = 0; i < 3; ++i) h.Masks[i] = r.U32LE();
      if (h.HeaderSize >= 56) h.Masks[3] = r.U32LE();
    }
  }
  h.PaletteOffset = 14 + std::size_t(h.HeaderSize);
  r.Seek(h.PaletteOffset);
  if (h.Compression == BiBitfields && h.HeaderSize == 40) {
    for (int i = 0; i < 3; ++i) h.Masks[i] = r.U32LE();
    h.PaletteOffset += 12;
  }
  if (h.Height < 0) {
    h.TopDown = true;
    h.Height = -h.Height;
  }
  return h;
}

void checkHeader(const TBmpHeader& h, std::size_t fileSize) {
  const int bits = h.BitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    unsupported();
  switch (h.Compression) {
    case BiRgb: break;
    case BiRle8: if (bits != 8 || h.TopDown) invalid(); break;
    case BiRle4: if (bits != 4 || h.TopDown) invalid(); break;
    case BiBitfields: if (bits != 16 && bits != 32) invalid(); break;
    default: unsupported();
  }
  if (h.Width < 0) invalid();
  if (h.Width > VireoMaxSide || h.Height > VireoMaxSide || h.Width * h.Height > VireoMaxPixels)
    unsupported();
  // Run-length data can skip any number of pixels, so its size says nothing about the
  // picture's: a lower cap keeps a few bytes from claiming hundreds of megabytes.
  const bool rle = h.Compression == BiRle8 || h.Compression == BiRle4;
  if (rle && h.Width * h.Height > MaxRlePixels) unsupported();
  if (bits <= 8 && h.ColorsUsed > (1u << bits)) invalid();
  if (h.PixelOffset > fileSize || h.PixelOffset < h.PaletteOffset) invalid();
}

void readPalette(TVireoBitmap& bitmap, const TBmpHeader& h, TVireoByteReader& r) {
  std::size_t count = h.ColorsUsed ? h.ColorsUsed : std::size_t(1) << h.BitCount;
  if (count * h.PaletteEntrySize > r.Size() - h.PaletteOffset) invalid();
  r.Seek(h.PaletteOffset);
  bitmap.Palette.assign(count, TVireoPaletteEntry{});
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* e = r.Take(h.PaletteEntrySize);
    bitmap.Palette[i] = {e[2], e[1], e[0], 0};
  }
}

void readUncompressed(TVireoBitmap& bitmap, const TBmpHeader& h, TVireoByteReader& r) {
  const std::size_t stride = ((std::size_t(h.Width) * h.BitCount + 31) / 32) * 4;
  if (stride * std::size_t(h.Height) > r.Size() - h.PixelOffset) invalid();
  const bool fields = h.BitCount == 16 || (h.BitCount == 32 && h.Compression == BiBitfields);
  std::uint32_t masks[4] = {h.Masks[0], h.Masks[1], h.Masks[2], h.Masks[3]};
  if (h.Compression != BiBitfields) {  // the fixed layouts without masks
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F, masks[3] = 0;
  }
  const TChannel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  for (std::int64_t i = 0; i < h.Height; ++i) {
    const std::uint8_t* in = r.Take(stride);
    std::uint8_t* out = bitmap.ScanLine(int(h.TopDown ? i : h.Height - 1 - i));
    if (!fields) {
      std::memcpy(out, in, bitmap.BytesPerLine());
      continue;
    }
    const int step = h.BitCount / 8;
    for (std::int64_t x = 0; x < h.Width; ++x, in += step) {
      std::uint32_t p = step == 2 ? std::uint32_t(in[0] | in[1] << 8)
                                  : std::uint32_t(in[0]) | std::uint32_t(in[1]) << 8 |
                                        std::uint32_t(in[2]) << 16 | std::uint32_t(in[3]) << 24;
      std::uint8_t* px = out + x * (bitmap.BitCount() / 8);
      px[0] = blue.Get(p);
      px[1] = green.Get(p);
      px[2] = red.Get(p);
      if (bitmap.BitCount() == 32) px[3] = alpha.Get(p);
    }
  }
}

// RLE4 and RLE8: runs and literal strings, with end-of-line, end-of-bitmap and delta escapes.
// Pixels that fall outside the picture are dropped; the data ending between two codes ends
// the picture as an end-of-bitmap would.
void readRle(TVireoBitmap& bitmap, const TBmpHeader& h, TVireoByteReader& r) {
  r.Seek(h.PixelOffset);
  const bool four = h.Compression == BiRle4;
  const std::int64_t width = h.Width, height = h.Height;
  std::int64_t x = 0, y = 0;
  auto put = [&](int value) {
    if (x < width && y < height) {
      std::uint8_t* row = bitmap.ScanLine(int(height - 1 - y));
      if (!four) row[x] = std::uint8_t(value);
      else if (x & 1) row[x >> 1] = std::uint8_t((row[x >> 1] & 0xF0) | (value & 0x0F));
      else row[x >> 1] = std::uint8_t((row[x >> 1] & 0x0F) | (value << 4));
    }
    ++x;
  };
  while (r.Remaining() > 0 && y < height) {
    const std::uint8_t* code = r.Take(2);
    if (code[0] > 0) {
      for (int i = 0; i < code[0]; ++i)
        put(four ? ((i & 1) ? code[1] & 0x0F : code[1] >> 4) : code[1]);
    } else if (code[1] == 0) {
      x = 0;
      ++y;
    } else if (code[1] == 1) {
      break;
    } else if (code[1] == 2) {
      const std::uint8_t* delta = r.Take(2);
      x += delta[0];
      y += delta[1];
    } else {
      const int count = code[1];
      const std::size_t bytes = four ? (count + 1) / 2 : count;
      const std::uint8_t* literal = r.Take(bytes);
      for (int i = 0; i < count; ++i)
        put(four ? ((i & 1) ? literal[i / 2] & 0x0F : literal[i / 2] >> 4) : literal[i]);
      if (bytes & 1) r.Skip(1);
    }
  }
}

void putPaddedRows(std::vector<std::uint8_t>& out, const TVireoBitmap& b, std::size_t stride) {
  for (int y = b.Height() - 1; y >= 0; --y) {
    const std::uint8_t* row = b.ScanLine(y);
    out.insert(out.end(), row, row + b.BytesPerLine());
    out.insert(out.end(), stride - b.BytesPerLine(), 0);
  }
}

}  // namespace

void VireoDecodeBmp(TVireoBitmap& bitmap, const std::uint8_t* data, std::size_t size) {
  TVireoByteReader r(data, size);
  TBmpHeader h = readHeader(r);
  checkHeader(h, size);
  const int outBits = h.BitCount == 16 ? 24 : h.BitCount;
  bitmap.SetFormat(int(h.Width), int(h.Height), outBits);
  if (h.BitCount <= 8) readPalette(bitmap, h, r);
  r.Seek(h.PixelOffset);
  if (h.Compression == BiRle8 || h.Compression == BiRle4) readRle(bitmap, h, r);
  else readUncompressed(bitmap, h, r);
}

std::vector<std::uint8_t> VireoEncodeBmp(const TVireoBitmap& source) {
  const TVireoBitmap copy = source.IsPaletted() ? source.ConvertedTo8Bit()
                                                : source.ConvertedTo24Bit();
  const bool palette = copy.BitCount() == 8;
  const std::size_t stride = ((copy.BytesPerLine() + 3) / 4) * 4;
  const std::size_t imageSize = stride * copy.Height();
  const std::uint32_t offset = 14 + 40 + (palette ? 1024 : 0);
  std::vector<std::uint8_t> out;
  out.reserve(offset + imageSize);
  out.push_back('B');
  out.push_back('M');
  VireoPutU32LE(out, std::uint32_t(offset + imageSize));
  VireoPutU32LE(out, 0);
  VireoPutU32LE(out, offset);
  VireoPutU32LE(out, 40);
  VireoPutU32LE(out, std::uint32_t(copy.Width()));
  VireoPutU32LE(out, std::uint32_t(copy.Height()));
  VireoPutU16LE(out, 1);
  VireoPutU16LE(out, std::uint16_t(copy.BitCount()));
  VireoPutU32LE(out, BiRgb);
  VireoPutU32LE(out, std::uint32_t(imageSize));
  VireoPutU32LE(out, 2835);  // 72 dots per inch
  VireoPutU32LE(out, 2835);
  VireoPutU32LE(out, palette ? 256 : 0);
  VireoPutU32LE(out, 0);
  if (palette) {
    for (int i = 0; i < 256; ++i) {
      TVireoPaletteEntry e = std::size_t(i) < copy.Palette.size() ? copy.Palette[i]
                                                                  : TVireoPaletteEntry{};
      out.insert(out.end(), {e.Blue, e.Green, e.Red, 0});
    }
  }
  putPaddedRows(out, copy, stride);
  return out;
}

void LoadBmpFile(TVireoBitmap& bitmap, const std::filesystem::path& fileName) {
  std::vector<std::uint8_t> data = VireoReadFile(fileName);
  VireoDecodeBmp(bitmap, data.data(), data.size());
}

void SaveBmpFile(const TVireoBitmap& bitmap, const std::filesystem::path& fileName) {
  VireoWriteFileAtomic(fileName, VireoEncodeBmp(bitmap));
}
