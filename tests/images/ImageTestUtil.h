// Helpers shared by the image tests.
#pragma once

#include "VireoBitmap.h"

#include <filesystem>
#include <random>
#include <string>
#include <vector>

// A private folder, like QTemporaryDir, removed with everything in it.
class TTestDir {
public:
  TTestDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      FPath = std::filesystem::temp_directory_path() /
              ("tf_images_test_" + std::to_string(random()));
      if (std::filesystem::create_directory(FPath)) return;
    }
    throw std::runtime_error("no temporary folder");
  }
  ~TTestDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TTestDir(const TTestDir&) = delete;
  TTestDir& operator=(const TTestDir&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return FPath / name; }
  const std::filesystem::path& Path() const { return FPath; }

private:
  std::filesystem::path FPath;
};

// A picture of random pixels and a random palette (all 256 entries), reproducible by seed.
inline TVireoBitmap RandomBitmap(int width, int height, int bitCount, unsigned seed) {
  std::mt19937 random(seed);
  TVireoBitmap bitmap(width, height, bitCount);
  for (auto& e : bitmap.Palette)
    e = {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), 0};
  for (int y = 0; y < height; ++y)
    for (std::size_t i = 0; i < bitmap.BytesPerLine(); ++i)
      bitmap.ScanLine(y)[i] = std::uint8_t(random());
  return bitmap;
}

// Pixels that the eye would compare: palette colours for paletted pictures, as 0xRRGGBB.
inline std::uint32_t PixelRgb(const TVireoBitmap& b, int x, int y) {
  if (b.IsPaletted()) {
    std::size_t i = std::size_t(b.PixelIndex(x, y));
    TVireoPaletteEntry e = i < b.Palette.size() ? b.Palette[i] : TVireoPaletteEntry{};
    return std::uint32_t(e.Red) << 16 | e.Green << 8 | e.Blue;
  }
  const std::uint8_t* p = b.ScanLine(y) + x * (b.BitCount() / 8);
  return std::uint32_t(p[2]) << 16 | p[1] << 8 | p[0];
}

inline bool SamePixels(const TVireoBitmap& a, const TVireoBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (PixelRgb(a, x, y) != PixelRgb(b, x, y)) return false;
  return true;
}

inline std::vector<std::uint8_t> FixtureBytes(const std::string& name) {
  return VireoReadFile(std::filesystem::path(TF_TEST_DATA) / "images" / name);
}
