// Loading a picture by its signature and saving it by the file name's extension.
#pragma once

#include "VireoBitmap.h"

enum class TVireoImageFormat { Bmp, Png, Xyz };

// The format that LoadImageFile picks for data starting with these bytes: 89 "PNG" is PNG,
// "XYZ1" is XYZ, anything else is taken for a Windows bitmap.
TVireoImageFormat VireoFormatOfData(const std::uint8_t* data, std::size_t size);
// ".png" and ".xyz" (in any case) choose PNG and XYZ; every other name a Windows bitmap.
TVireoImageFormat VireoFormatOfName(const std::filesystem::path& fileName);
const char* VireoFormatName(TVireoImageFormat format);  // "BMP", "PNG", "XYZ"

// Decodes by signature; a picture without pixels raises "Mapa de bits vacío".
void VireoDecodeImage(TVireoBitmap& bitmap, const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> VireoEncodeImage(const TVireoBitmap& bitmap, TVireoImageFormat format);

void LoadImageFile(TVireoBitmap& bitmap, const std::filesystem::path& fileName);
// Written beside the target and renamed over it.
void SaveImageFile(const TVireoBitmap& bitmap, const std::filesystem::path& fileName);
