// Plain and upper-layer tiles: ground details, cliff faces, bridges, trees, rocks, fences,
// houses and furniture, drawn from simple shapes.
#pragma once

#include "Textures.h"

#include <array>

struct TPropKit {
  TPropKit(TPaletteBuilder& pal, std::uint8_t outline) : Pal(pal), Outline(outline) {}
  TPaletteBuilder& Pal;
  std::uint8_t Outline;
  TTexture Grass;
  TRamp Leaves, Wood, Rock, Dirt, Water, Sand, Snow;
  std::array<std::uint8_t, 4> Flower{};
};

// Shaded helpers shared by both tile sets.
void DrawTreeCrown(TCanvas& c, double cx, double cy, double r, const TRamp& leaves, std::uint8_t outline, int seed);
void DrawTrunk(TCanvas& c, int cx, int top, int bottom, int half, const TRamp& wood, std::uint8_t outline);
void DrawBoulder(TCanvas& c, double cx, double cy, double rx, double ry, const TRamp& rock, std::uint8_t outline);
void DrawShadow(TCanvas& c, double cx, double cy, double rx, double ry, std::uint8_t shade);

void DrawFieldPlainTiles(TPropKit& kit, TCanvas& sheet);
void DrawFieldUpperTiles(TPropKit& kit, TCanvas& sheet);
