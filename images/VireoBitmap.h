// The decoded picture that the codecs read and write, and the errors they raise.
//
// A TVireoBitmap holds 1, 4 or 8 bits per pixel with a palette, or 24 bits (blue, green, red)
// or 32 bits (blue, green, red, alpha) per pixel. Rows are stored top to bottom, packed
// (BytesPerLine() bytes each, no padding). Writing an 8-bit palette picture from code:
//
//   TVireoBitmap picture(480, 256, 8);          // 256 black palette entries, all pixels 0
//   picture.Palette[1] = {255, 0, 0, 0};
//   picture.ScanLine(10)[20] = 1;
//   SaveImageFile(picture, "Sample.png");       // or .bmp / .xyz
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Every failure of the image layer; what() is the Spanish message shown to the user.
class EVireoError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
// Malformed or unsupported picture data ("Imagen PNG no válida", "Mapa de bits vacío", ...).
class EInvalidGraphic : public EVireoError {
public:
  using EVireoError::EVireoError;
};
// The data ended early ("Error leyendo flujo").
class EVireoReadError : public EVireoError {
public:
  using EVireoError::EVireoError;
};
// A file could not be opened, created or renamed.
class EVireoFileError : public EVireoError {
public:
  using EVireoError::EVireoError;
};

namespace VireoMsg {
inline constexpr const char* ReadError = "Error leyendo flujo";
inline constexpr const char* ZlibError = "Error Zlib";
inline constexpr const char* EmptyBitmap = "Mapa de bits vacío";
inline constexpr const char* InvalidFormat = "Formato de imagen no válido";
}  // namespace VireoMsg

// Largest picture any codec accepts, checked before allocating.
inline constexpr int VireoMaxSide = 16384;
inline constexpr std::int64_t VireoMaxPixels = std::int64_t(1) << 28;

// Red, green, blue, flags: the Windows palette-entry layout.
struct TVireoPaletteEntry {
  std::uint8_t Red = 0, Green = 0, Blue = 0, Flags = 0;
  friend bool operator==(const TVireoPaletteEntry&, const TVireoPaletteEntry&) = default;
};

struct TVireoPoint {
  int X = 0, Y = 0;
};

struct TVireoRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TVireoRect&, const TVireoRect&) = default;
};

inline TVireoRect VireoRect(int left, int top, int right, int bottom) {
  return {left, top, right, bottom};
}

class TVireoBitmap {
public:
  TVireoBitmap() = default;
  // BitCount is 1, 4, 8, 24 or 32; palette formats get 2^BitCount black entries.
  TVireoBitmap(int width, int height, int bitCount);
  TVireoBitmap(const TVireoBitmap& other);
  TVireoBitmap& operator=(const TVireoBitmap& other);
  TVireoBitmap(TVireoBitmap&&) noexcept = default;
  TVireoBitmap& operator=(TVireoBitmap&&) noexcept = default;

  // Reallocates zero-filled pixels and resets the palette. More than VireoMaxPixels pixels
  // raise "Formato de imagen no válido".
  void SetFormat(int width, int height, int bitCount);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int BitCount() const { return FBitCount; }
  bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
  bool IsPaletted() const { return FBitCount <= 8; }
  std::size_t BytesPerLine() const { return FBytesPerLine; }
  std::uint8_t* ScanLine(int row) { return FPixels.get() + std::size_t(row) * FBytesPerLine; }
  const std::uint8_t* ScanLine(int row) const {
    return FPixels.get() + std::size_t(row) * FBytesPerLine;
  }
  // Palette index of a pixel of a 1, 4 or 8-bit picture.
  int PixelIndex(int x, int y) const;

  // Up to 2^BitCount entries for palette formats (a file may hold fewer); empty otherwise.
  std::vector<TVireoPaletteEntry> Palette;

  // Copies at 8 bits with a 256-entry palette (from 1, 4 or 8 bits, or from a truecolour
  // picture of at most 256 colours; more colours raise "Formato de imagen no válido"), and at
  // 24 bits from any format.
  TVireoBitmap ConvertedTo8Bit() const;
  TVireoBitmap ConvertedTo24Bit() const;

private:
  TVireoBitmap PalettedFromTruecolour() const;
  struct FreeDeleter {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  int FWidth = 0, FHeight = 0, FBitCount = 8;
  std::size_t FBytesPerLine = 0;
  // calloc: large zero pages stay untouched until a decoder really fills them.
  std::unique_ptr<std::uint8_t[], FreeDeleter> FPixels;
};

// Whole-file helpers shared by the codecs.
std::vector<std::uint8_t> VireoReadFile(const std::filesystem::path& fileName);
// Writes beside the target and renames over it, so a failure never leaves half a file.
void VireoWriteFileAtomic(const std::filesystem::path& fileName,
                          const std::vector<std::uint8_t>& data);

// Bounds-checked little and big-endian reading over a byte range; running past the end
// raises "Error leyendo flujo".
class TVireoByteReader {
public:
  TVireoByteReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
  std::size_t Position() const { return FPos; }
  std::size_t Remaining() const { return FSize - FPos; }
  std::size_t Size() const { return FSize; }
  void Seek(std::size_t pos);
  void Skip(std::size_t count);
  const std::uint8_t* Take(std::size_t count);
  std::uint8_t U8() { return *Take(1); }
  std::uint16_t U16LE();
  std::uint32_t U32LE();
  std::uint32_t U32BE();

private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

// Appending little and big-endian values to a byte vector.
void VireoPutU16LE(std::vector<std::uint8_t>& out, std::uint16_t v);
void VireoPutU32LE(std::vector<std::uint8_t>& out, std::uint32_t v);
void VireoPutU32BE(std::vector<std::uint8_t>& out, std::uint32_t v);
