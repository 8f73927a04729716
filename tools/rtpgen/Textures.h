// Ground textures and small props shared by the tile sets; each repeats every 16 pixels.
#pragma once

#include "TileKit.h"

#include <vector>

using TRamp = std::vector<std::uint8_t>;

// Picks a ramp shade from smooth noise plus grain, so surfaces read as material, not noise.
std::uint8_t Speckle(const TRamp& ramp, int x, int y, int seed, int lo, int hi, double grain = 0.35);

TTexture GrassTexture(const TRamp& grass, int seed);
TTexture DirtTexture(const TRamp& dirt, int seed);
TTexture SandTexture(const TRamp& sand, int seed);
TTexture RockTexture(const TRamp& rock, int seed);
TTexture CanopyTexture(const TRamp& leaves, int seed);
TTexture FlowerTexture(TTexture ground, std::uint8_t petalA, std::uint8_t petalB, std::uint8_t centre, int seed);
TTexture CobbleTexture(const TRamp& stone, std::uint8_t mortar, int seed);
TTexture PlankTexture(const TRamp& wood, std::uint8_t gap, bool vertical);
TTexture BrickTexture(const TRamp& brick, std::uint8_t mortar, int seed);
TTexture TilesTexture(std::uint8_t a, std::uint8_t b, std::uint8_t line);
TTexture RowsTexture(const TRamp& soil, std::uint8_t crop, int seed);
TTexture PeaksTexture(const TRamp& rock, std::uint8_t snow, std::uint8_t outline);
TTexture WaterTexture(const TRamp& water, std::uint8_t sparkle, int frame, int seed);
// A ramp-shaded copy of a texture (0 darkest .. 1 original).
TTexture Darker(TTexture base, TPaletteBuilder& pal, double factor);

void FillTile(TCanvas& c, TVireoPoint o, const TTexture& t);
