#include "VireoImageFile.h"

#include "VireoBmp.h"
#include "VireoPng.h"
#include "VireoXyz.h"

#include <algorithm>
#include <cctype>
#include <cstring>

TVireoImageFormat VireoFormatOfData(const std::uint8_t* data, std::size_t size) {
  if (size >= 4 && data[0] == 0x89 && std::memcmp(data + 1, "PNG", 3) == 0)
    return TVireoImageFormat::Png;
  if (size >= 4 && std::memcmp(data, "XYZ1", 4) == 0) return TVireoImageFormat::Xyz;
  return TVireoImageFormat::Bmp;
}

TVireoImageFormat VireoFormatOfName(const std::filesystem::path& fileName) {
  std::string ext = fileName.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (ext == ".png") return TVireoImageFormat::Png;
  if (ext == ".xyz") return TVireoImageFormat::Xyz;
  return TVireoImageFormat::Bmp;
}

const char* VireoFormatName(TVireoImageFormat format) {
  switch (format) {
    case TVireoImageFormat::Png: return "PNG";
    case TVireoImageFormat::Xyz: return "XYZ";
    default: return "BMP";
  }
}

void VireoDecodeImage(TVireoBitmap& bitmap, const std::uint8_t* data, std::size_t size) {
  switch (VireoFormatOfData(data, size)) {
    case TVireoImageFormat::Png: VireoDecodePng(bitmap, data, size); break;
    case TVireoImageFormat::Xyz: VireoDecodeXyz(bitmap, data, size); break;
    default: VireoDecodeBmp(bitmap, data, size); break;
  }
  if (bitmap.Empty()) throw EInvalidGraphic(VireoMsg::EmptyBitmap);
}

std::vector<std::uint8_t> VireoEncodeImage(const TVireoBitmap& bitmap, TVireoImageFormat format) {
  switch (format) {
    case TVireoImageFormat::Png: return VireoEncodePng(bitmap);
    case TVireoImageFormat::Xyz: return VireoEncodeXyz(bitmap);
    default: return VireoEncodeBmp(bitmap);
  }
}

void LoadImageFile(TVireoBitmap& bitmap, const std::filesystem::path& fileName) {
  std::vector<std::uint8_t> data = VireoReadFile(fileName);
  VireoDecodeImage(bitmap, data.data(), data.size());
}

void SaveImageFile(const TVireoBitmap& bitmap, const std::filesystem::path& fileName) {
  VireoWriteFileAtomic(fileName, VireoEncodeImage(bitmap, VireoFormatOfName(fileName)));
}
