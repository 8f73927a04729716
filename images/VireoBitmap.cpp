#include "VireoBitmap.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <unordered_map>

namespace {

std::size_t packedBytesPerLine(int width, int bitCount) {
  return (std::size_t(width) * std::size_t(bitCount) + 7) / 8;
}

bool validBitCount(int bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
}

}  // namespace

TVireoBitmap::TVireoBitmap(int width, int height, int bitCount) {
  SetFormat(width, height, bitCount);
}

TVireoBitmap::TVireoBitmap(const TVireoBitmap& other) {
  *this = other;
}

TVireoBitmap& TVireoBitmap::operator=(const TVireoBitmap& other) {
  if (this == &other) return *this;
  SetFormat(other.FWidth, other.FHeight, other.FBitCount);
  Palette = other.Palette;
  if (other.FPixels && FBytesPerLine * FHeight > 0)
    std::memcpy(FPixels.get(), other.FPixels.get(), FBytesPerLine * FHeight);
  return *this;
}

void TVireoBitmap::SetFormat(int width, int height, int bitCount) {
  // Pictures made in code may be wider than the decoders accept (the XYZ writer must see them
  // to refuse them); the pixel count cap still holds.
  if (!validBitCount(bitCount) || width < 0 || height < 0 ||
      std::int64_t(width) * height > VireoMaxPixels)
    throw EInvalidGraphic(VireoMsg::InvalidFormat);
  FPixels.reset();
  FWidth = width;
  FHeight = height;
  FBitCount = bitCount;
  FBytesPerLine = packedBytesPerLine(width, bitCount);
  Palette.assign(bitCount <= 8 ? std::size_t(1) << bitCount : 0, TVireoPaletteEntry{});
  // Never null, even for an empty picture, so row copies of zero bytes stay well defined.
  const std::size_t bytes = std::max<std::size_t>(FBytesPerLine * std::size_t(height), 1);
  FPixels.reset(static_cast<std::uint8_t*>(std::calloc(bytes, 1)));
  if (!FPixels) throw std::bad_alloc();
}

int TVireoBitmap::PixelIndex(int x, int y) const {
  const std::uint8_t* row = ScanLine(y);
  switch (FBitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case 8: return row[x];
    default: return 0;
  }
}

// A truecolour picture of at most 256 colours gets an exact palette, in order of appearance.
TVireoBitmap TVireoBitmap::PalettedFromTruecolour() const {
  TVireoBitmap result(FWidth, FHeight, 8);
  std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
  const int step = FBitCount / 8;
  for (int y = 0; y < FHeight; ++y) {
    const std::uint8_t* in = ScanLine(y);
    std::uint8_t* out = result.ScanLine(y);
    for (int x = 0; x < FWidth; ++x, in += step) {
      const std::uint32_t key = std::uint32_t(in[2]) << 16 | in[1] << 8 | in[0];
      auto found = indexOf.find(key);
      if (found == indexOf.end()) {
        if (indexOf.size() == 256) throw EInvalidGraphic(VireoMsg::InvalidFormat);
        found = indexOf.emplace(key, std::uint8_t(indexOf.size())).first;
        result.Palette[found->second] = {in[2], in[1], in[0], 0};
      }
      out[x] = found->second;
    }
  }
  return result;
}

TVireoBitmap TVireoBitmap::ConvertedTo8Bit() const {
  if (!IsPaletted()) return PalettedFromTruecolour();
  TVireoBitmap result(FWidth, FHeight, 8);
  for (std::size_t i = 0; i < Palette.size() && i < 256; ++i) result.Palette[i] = Palette[i];
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* out = result.ScanLine(y);
    if (FBitCount == 8)
      std::memcpy(out, ScanLine(y), FWidth);
    else
      for (int x = 0; x < FWidth; ++x) out[x] = std::uint8_t(PixelIndex(x, y));
  }
  return result;
}

TVireoBitmap TVireoBitmap::ConvertedTo24Bit() const {
  TVireoBitmap result(FWidth, FHeight, 24);
  for (int y = 0; y < FHeight; ++y) {
    const std::uint8_t* in = ScanLine(y);
    std::uint8_t* out = result.ScanLine(y);
    for (int x = 0; x < FWidth; ++x, out += 3) {
      if (FBitCount == 24) {
        std::memcpy(out, in + 3 * x, 3);
      } else if (FBitCount == 32) {
        std::memcpy(out, in + 4 * x, 3);
      } else {
        std::size_t index = std::size_t(PixelIndex(x, y));
        TVireoPaletteEntry e = index < Palette.size() ? Palette[index] : TVireoPaletteEntry{};
        out[0] = e.Blue;
        out[1] = e.Green;
        out[2] = e.Red;
      }
    }
  }
  return result;
}

std::vector<std::uint8_t> VireoReadFile(const std::filesystem::path& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw EVireoFileError("No se puede abrir el archivo " + fileName.string() + ".");
  std::vector<std::uint8_t> data;
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    data.insert(data.end(), buffer, buffer + in.gcount());
  }
  if (in.bad()) throw EVireoReadError(VireoMsg::ReadError);
  return data;
}

void VireoWriteFileAtomic(const std::filesystem::path& fileName,
                          const std::vector<std::uint8_t>& data) {
  std::random_device random;
  std::filesystem::path temp = fileName;
  temp += ".tmp" + std::to_string(random() % 1000000);
  const std::string failed = "No se puede crear el archivo " + fileName.string() + ".";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw EVireoFileError(failed);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      throw EVireoFileError(failed);
    }
  }
  std::error_code error;
  std::filesystem::rename(temp, fileName, error);
  if (error) {
    std::filesystem::remove(temp, error);
    throw EVireoFileError(failed);
  }
}

void TVireoByteReader::Seek(std::size_t pos) {
  if (pos > FSize) throw EVireoReadError(VireoMsg::ReadError);
  FPos = pos;
}

void TVireoByteReader::Skip(std::size_t count) {
  Take(count);
}

const std::uint8_t* TVireoByteReader::Take(std::size_t count) {
  if (count > FSize - FPos) throw EVireoReadError(VireoMsg::ReadError);
  const std::uint8_t* p = FData + FPos;
  FPos += count;
  return p;
}

std::uint16_t TVireoByteReader::U16LE() {
  const std::uint8_t* p = Take(2);
  return std::uint16_t(p[0] | p[1] << 8);
}

std::uint32_t TVireoByteReader::U32LE() {
  const std::uint8_t* p = Take(4);
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

std::uint32_t TVireoByteReader::U32BE() {
  const std::uint8_t* p = Take(4);
  return std::uint32_t(p[3]) | std::uint32_t(p[2]) << 8 | std::uint32_t(p[1]) << 16 |
         std::uint32_t(p[0]) << 24;
}

void VireoPutU16LE(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}

void VireoPutU32LE(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

void VireoPutU32BE(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(std::uint8_t(v >> (8 * i)));
}
