#include "Canvas.h"

#include "VireoImageFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <stdexcept>

TRgb MixRgb(TRgb a, TRgb b, double t) {
  auto mix = [t](int p, int q) { return int(std::lround(p + (q - p) * t)); };
  return {mix(a.R, b.R), mix(a.G, b.G), mix(a.B, b.B)};
}

TRgb ShadeRgb(TRgb c, double f) {
  auto s = [f](int v) { return std::clamp(int(std::lround(v * f)), 0, 255); };
  return {s(c.R), s(c.G), s(c.B)};
}

std::uint32_t Hash3(int x, int y, int seed) {
  std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u +
                    std::uint32_t(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

double Noise01(int x, int y, int seed) {
  return (Hash3(x, y, seed) & 0xFFFF) / 65535.0;
}

double SmoothNoise(double x, double y, int cell, int seed, int period) {
  const double fx = x / cell, fy = y / cell;
  const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
  const double tx = fx - x0, ty = fy - y0;
  const int wrap = period > 0 ? period / cell : 0;
  auto at = [&](int gx, int gy) {
    if (wrap > 0) {
      gx = ((gx % wrap) + wrap) % wrap;
      gy = ((gy % wrap) + wrap) % wrap;
    }
    return Noise01(gx, gy, seed);
  };
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const double a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
  const double b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
  return a + (b - a) * sy;
}

TPaletteBuilder::TPaletteBuilder(TRgb transparent) : FColors{transparent} {}

std::uint8_t TPaletteBuilder::Index(TRgb c) {
  for (std::size_t i = 1; i < FColors.size(); ++i)
    if (FColors[i] == c) return std::uint8_t(i);
  if (FColors.size() >= 256) throw std::runtime_error("palette full");
  FColors.push_back(c);
  return std::uint8_t(FColors.size() - 1);
}

std::vector<std::uint8_t> TPaletteBuilder::Ramp(TRgb dark, TRgb light, int n) {
  std::vector<std::uint8_t> out;
  for (int i = 0; i < n; ++i) out.push_back(Index(MixRgb(dark, light, n > 1 ? double(i) / (n - 1) : 0)));
  return out;
}

TCanvas::TCanvas(int width, int height, TPaletteBuilder& palette)
    : FWidth(width), FHeight(height), FPalette(&palette),
      FPixels(std::size_t(width) * height, 0) {}

void TCanvas::Set(int x, int y, std::uint8_t index) {
  if (x >= 0 && y >= 0 && x < FWidth && y < FHeight) FPixels[std::size_t(y) * FWidth + x] = index;
}

std::uint8_t TCanvas::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  return FPixels[std::size_t(y) * FWidth + x];
}

void TCanvas::FillRect(int x, int y, int w, int h, std::uint8_t index) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, index);
}

void TCanvas::FrameRect(int x, int y, int w, int h, std::uint8_t index) {
  for (int i = x; i < x + w; ++i) Set(i, y, index), Set(i, y + h - 1, index);
  for (int j = y; j < y + h; ++j) Set(x, j, index), Set(x + w - 1, j, index);
}

void TCanvas::FillEllipse(double cx, double cy, double rx, double ry, std::uint8_t index) {
  if (rx <= 0 || ry <= 0) return;
  for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); ++y)
    for (int x = int(std::floor(cx - rx)); x <= int(std::ceil(cx + rx)); ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) Set(x, y, index);
    }
}

void TCanvas::Line(int x0, int y0, int x1, int y1, std::uint8_t index) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Set(x0, y0, index);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
}

void TCanvas::Paint(int x, int y, int w, int h, const std::function<int(int, int)>& f) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) {
      const int v = f(i, j);
      if (v >= 0) Set(i, j, std::uint8_t(v));
    }
}

void TCanvas::Outline(int x, int y, int w, int h, std::uint8_t index) {
  std::vector<std::pair<int, int>> marks;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) {
      if (Get(i, j) != 0) continue;
      auto inside = [&](int a, int b) {
        return a >= x && b >= y && a < x + w && b < y + h && Get(a, b) != 0 && Get(a, b) != index;
      };
      if (inside(i - 1, j) || inside(i + 1, j) || inside(i, j - 1) || inside(i, j + 1))
        marks.emplace_back(i, j);
    }
  for (auto [i, j] : marks) Set(i, j, index);
}

void TCanvas::Copy(int sx, int sy, int w, int h, int dx, int dy) {
  std::vector<std::uint8_t> block(std::size_t(w) * h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) block[std::size_t(j) * w + i] = Get(sx + i, sy + j);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) Set(dx + i, dy + j, block[std::size_t(j) * w + i]);
}

void TCanvas::CopyFrom(const TCanvas& source, int sx, int sy, int w, int h, int dx, int dy,
                       bool skipTransparent) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const std::uint8_t v = source.Get(sx + i, sy + j);
      if (!skipTransparent || v != 0) Set(dx + i, dy + j, v);
    }
}

TVireoBitmap TCanvas::ToBitmap() const {
  TVireoBitmap bitmap(FWidth, FHeight, 8);
  const auto& colors = FPalette->Colors();
  for (std::size_t i = 0; i < colors.size(); ++i)
    bitmap.Palette[i] = {std::uint8_t(colors[i].R), std::uint8_t(colors[i].G),
                         std::uint8_t(colors[i].B), 0};
  for (int y = 0; y < FHeight; ++y)
    std::copy_n(&FPixels[std::size_t(y) * FWidth], FWidth, bitmap.ScanLine(y));
  return bitmap;
}

void TCanvas::Save(const std::filesystem::path& file) const {
  SaveImageFile(ToBitmap(), file);
}

namespace {

// Rows of 5 bits, top to bottom, for each glyph.
const std::map<char, std::array<const char*, 7>>& glyphs() {
  static const std::map<char, std::array<const char*, 7>> table = {
      {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
      {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
      {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
      {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
      {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
      {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
      {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
      {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
      {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
      {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
      {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
      {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
      {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
      {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
      {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
      {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
      {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
      {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
      {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
      {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
      {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
      {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
      {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
      {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
      {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
      {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
      {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
      {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
      {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
      {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
      {'6', {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."}},
      {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
      {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
      {'9', {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
      {'-', {".....", ".....", ".....", ".###.", ".....", ".....", "....."}},
      {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
      {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
      {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
      {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
      {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
  };
  return table;
}

}  // namespace

void DrawText5x7(TCanvas& canvas, int x, int y, const std::string& text, std::uint8_t index,
                 int scale) {
  for (char c : text) {
    const auto it = glyphs().find(char(std::toupper(static_cast<unsigned char>(c))));
    if (it != glyphs().end())
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (it->second[row][col] == '#')
            canvas.FillRect(x + col * scale, y + row * scale, scale, scale, index);
    x += 6 * scale;
  }
}

int TextWidth5x7(const std::string& text, int scale) {
  return text.empty() ? 0 : int(text.size()) * 6 * scale - scale;
}
