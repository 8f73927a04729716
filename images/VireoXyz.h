// The XYZ picture format: "XYZ1", width and height (16-bit little-endian), then one zlib
// stream that inflates to 768 palette bytes (red, green, blue) and width × height indices.
#pragma once

#include "VireoBitmap.h"

#include <iosfwd>

namespace VireoMsg {
inline constexpr const char* XyzInvalid = "Imagen XYZ no válida";
inline constexpr const char* XyzTooLarge = "La imagen es demasiado grande para el formato XYZ";
}  // namespace VireoMsg

void VireoDecodeXyz(TVireoBitmap& bitmap, const std::uint8_t* data, std::size_t size);
// Encodes a copy at 8 bits with palette; other formats raise "Formato de imagen no válido".
std::vector<std::uint8_t> VireoEncodeXyz(const TVireoBitmap& bitmap);

class TVireoXyz : public TVireoBitmap {
public:
  using TVireoBitmap::TVireoBitmap;
  void LoadFromStream(std::istream& stream);
  void SaveToStream(std::ostream& stream) const;
};

void LoadXyzFile(TVireoBitmap& bitmap, const std::filesystem::path& fileName);
void SaveXyzFile(const TVireoBitmap& bitmap, const std::filesystem::path& fileName);
