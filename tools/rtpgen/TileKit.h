// Building blocks of a tile set image: where every kind of tile lives in the 480 × 256 sheet,
// and the shaped terrain renderer that draws autotile blocks and water so that the map
// editor's 8 × 8 piece composition joins them seamlessly.
#pragma once

#include "Canvas.h"

#include <functional>

// A texture: palette index at block-relative pixel (x, y); textures that tile must repeat
// every 16 pixels.
using TTexture = std::function<std::uint8_t(int x, int y)>;

struct TTerrainStyle {
  TTexture Inside;
  TTexture Outside;            // the ground around the terrain
  TTexture OutsideShadow;      // ground in the terrain's shadow (raised terrain only)
  TTexture Face;               // the front face of raised terrain (null: none)
  int EdgeIndex = -1;          // outline colour; -1 blends inside and outside by dithering
  int HighlightIndex = -1;     // rim along the top edge; -1 none
  double Margin = 3.0;         // how far the edge sits inside the cell
  double Radius = 5.0;         // rounding of outer corners
  double Wave = 1.0;           // how much the edge wanders
  int FaceHeight = 0;
  int Seed = 1;
};

// The 48 × 64 autotile block at (x, y): icon, a filler cell, inner corners and the 3 × 3
// border set.
void DrawAutotileBlock(TCanvas& canvas, int x, int y, const TTerrainStyle& style);

// Water: a terrain style per frame (Inside is the water, Outside the shore).
struct TWaterStyle {
  std::function<TTerrainStyle(int frame)> Shallow;   // water A's shores and open water
  std::function<TTerrainStyle(int frame)> ShoreB;    // water B's shores
  std::function<std::uint8_t(int x, int y, int frame)> Deep;
};
void DrawWater(TCanvas& canvas, const TWaterStyle& style);

// Origins of plain lower and upper tiles (0..143).
TVireoPoint PlainOrigin(int k);
TVireoPoint UpperOrigin(int k);

// A picture drawn across several tiles: w × h tiles, cut into tiles k, k + 1, ..., k + 6, ...
// (rows of six in tile numbering).
class TTileObject {
public:
  TTileObject(int w, int h, TPaletteBuilder& palette) : Canvas(w * 16, h * 16, palette), W(w), H(h) {}
  TCanvas Canvas;
  int W, H;
  void PlaceLower(TCanvas& sheet, int k) const;
  void PlaceUpper(TCanvas& sheet, int k) const;
};
