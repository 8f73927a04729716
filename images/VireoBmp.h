// Windows bitmap (BMP) reading and writing.
//
// Reads 1, 4 and 8-bit palette files (uncompressed, RLE4, RLE8), 16-bit (as 24-bit), 24-bit
// and 32-bit files (uncompressed or with bit-field masks), with the 12-byte and the 40 to
// 124-byte headers, bottom-up or top-down. Writes 8-bit palette files (256 entries) and 24-bit
// files; 1 and 4-bit pictures are written at 8 bits and 32-bit pictures at 24 bits, so the game
// run time always finds 8-bit palette files as 8-bit. Run-length pictures are limited to
// 4096 × 4096 pixels, others to 16384 on a side and 2^28 pixels.
#pragma once

#include "VireoBitmap.h"

namespace VireoMsg {
inline constexpr const char* BmpInvalid = "Imagen BMP no válida";
inline constexpr const char* BmpUnsupported = "Imagen BMP no soportada";
}  // namespace VireoMsg

void VireoDecodeBmp(TVireoBitmap& bitmap, const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> VireoEncodeBmp(const TVireoBitmap& bitmap);

void LoadBmpFile(TVireoBitmap& bitmap, const std::filesystem::path& fileName);
void SaveBmpFile(const TVireoBitmap& bitmap, const std::filesystem::path& fileName);
