// PNG reading and writing: 8-bit palette (colour type 3) and 8-bit truecolour (colour type 2),
// not interlaced. Written files hold IHDR, PLTE (256 entries, palette pictures only),
// IDAT chunks of 65,536 bytes (the last one shorter) and IEND, nothing else.
#pragma once

#include "VireoBitmap.h"

#include <iosfwd>

namespace VireoMsg {
inline constexpr const char* PngInvalid = "Imagen PNG no válida";
inline constexpr const char* PngUnsupported = "Imagen PNG no soportada";
}  // namespace VireoMsg

// Decodes a whole PNG file held in memory into an 8-bit palette or 24-bit picture.
void VireoDecodePng(TVireoBitmap& bitmap, const std::uint8_t* data, std::size_t size);
// Encodes a copy at 8 bits with palette (from 1, 4, 8 bits) or at 24 bits (from 24, 32).
std::vector<std::uint8_t> VireoEncodePng(const TVireoBitmap& bitmap);

class TVireoPng : public TVireoBitmap {
public:
  using TVireoBitmap::TVireoBitmap;
  // Reads the rest of the stream.
  void LoadFromStream(std::istream& stream);
  void SaveToStream(std::ostream& stream) const;
};

void LoadPngFile(TVireoBitmap& bitmap, const std::filesystem::path& fileName);
void SavePngFile(const TVireoBitmap& bitmap, const std::filesystem::path& fileName);

// Reads what is left of a stream into memory (shared by the stream front ends).
std::vector<std::uint8_t> VireoReadStream(std::istream& stream);
void VireoWriteStream(std::ostream& stream, const std::vector<std::uint8_t>& data);
