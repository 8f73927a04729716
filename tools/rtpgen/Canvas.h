// Drawing helpers for the run-time package generator: an 8-bit canvas with a palette that grows
// as colours are asked for, and deterministic noise. Everything here is integer or fixed-order
// floating point, so two runs give the same bytes.
#pragma once

#include "VireoBitmap.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct TRgb {
  int R = 0, G = 0, B = 0;
  friend bool operator==(const TRgb&, const TRgb&) = default;
};

// Mixes two colours; t in 0..1.
TRgb MixRgb(TRgb a, TRgb b, double t);
// Scales the brightness; factor 1 keeps the colour.
TRgb ShadeRgb(TRgb c, double factor);

// Deterministic hash noise.
std::uint32_t Hash3(int x, int y, int seed);
// 0..1 from the hash.
double Noise01(int x, int y, int seed);
// Smooth value noise with the given cell size, wrapping every `period` pixels (0: no wrap).
double SmoothNoise(double x, double y, int cell, int seed, int period = 0);

// Index 0 is the transparent colour; every other colour is added on first use.
class TPaletteBuilder {
public:
  explicit TPaletteBuilder(TRgb transparent = {0, 0, 0});
  std::uint8_t Index(TRgb c);
  // n shades from dark to light, spread evenly.
  std::vector<std::uint8_t> Ramp(TRgb dark, TRgb light, int n);
  int Count() const { return int(FColors.size()); }
  const std::vector<TRgb>& Colors() const { return FColors; }

private:
  std::vector<TRgb> FColors;
};

class TCanvas {
public:
  TCanvas(int width, int height, TPaletteBuilder& palette);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TPaletteBuilder& Pal() { return *FPalette; }
  std::uint8_t Idx(TRgb c) { return FPalette->Index(c); }

  void Set(int x, int y, std::uint8_t index);
  std::uint8_t Get(int x, int y) const;
  void SetRgb(int x, int y, TRgb c) { Set(x, y, Idx(c)); }
  void FillRect(int x, int y, int w, int h, std::uint8_t index);
  void FrameRect(int x, int y, int w, int h, std::uint8_t index);
  void FillEllipse(double cx, double cy, double rx, double ry, std::uint8_t index);
  void Line(int x0, int y0, int x1, int y1, std::uint8_t index);
  // Calls f for every pixel of the rectangle, which returns the index to store (or -1 to keep).
  void Paint(int x, int y, int w, int h, const std::function<int(int, int)>& f);
  // Draws a dark outline around every non-transparent shape inside the rectangle.
  void Outline(int x, int y, int w, int h, std::uint8_t index);
  // Copies a rectangle of this canvas.
  void Copy(int sx, int sy, int w, int h, int dx, int dy);
  void CopyFrom(const TCanvas& source, int sx, int sy, int w, int h, int dx, int dy,
                bool skipTransparent);

  TVireoBitmap ToBitmap() const;
  void Save(const std::filesystem::path& file) const;

private:
  int FWidth, FHeight;
  TPaletteBuilder* FPalette;
  std::vector<std::uint8_t> FPixels;
};

// A small 5 × 7 pixel font for upper-case letters, digits and a few signs.
void DrawText5x7(TCanvas& canvas, int x, int y, const std::string& text, std::uint8_t index,
                 int scale = 1);
int TextWidth5x7(const std::string& text, int scale = 1);
