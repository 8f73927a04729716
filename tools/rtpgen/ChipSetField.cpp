// "Campo": the outdoor tile set. Lakes, sea, meadows, paths, forests, cliffs and hills as
// autotiles; cliff faces, bridges and ground details as plain tiles; trees, rocks and fences
// on the upper layer.
#include "ChipSets.h"
#include "Props.h"
#include "Textures.h"

#include <cmath>

namespace {

struct TFieldArt {
  TPaletteBuilder Pal{{0, 0, 0}};
  TRamp Grass = Pal.Ramp({34, 86, 38}, {132, 190, 78}, 5);
  TRamp Dirt = Pal.Ramp({92, 62, 36}, {196, 156, 104}, 5);
  TRamp Sand = Pal.Ramp({170, 138, 84}, {246, 226, 168}, 5);
  TRamp Rock = Pal.Ramp({58, 56, 64}, {176, 172, 168}, 5);
  TRamp Leaves = Pal.Ramp({16, 52, 28}, {96, 162, 64}, 5);
  TRamp Water = Pal.Ramp({30, 84, 168}, {126, 196, 238}, 5);
  TRamp Deep = Pal.Ramp({14, 34, 96}, {48, 96, 172}, 5);
  TRamp Snow = Pal.Ramp({150, 166, 196}, {252, 252, 255}, 5);
  TRamp Wood = Pal.Ramp({70, 42, 22}, {186, 132, 74}, 5);
  TRamp Wheat = Pal.Ramp({150, 110, 40}, {246, 214, 110}, 5);
  TRamp Marsh = Pal.Ramp({36, 52, 40}, {96, 118, 80}, 5);
  std::uint8_t Outline = Pal.Index({28, 30, 36});
  std::uint8_t Foam = Pal.Index({232, 244, 255});
  std::uint8_t White = Pal.Index({250, 250, 250});
  std::uint8_t Red = Pal.Index({214, 58, 64});
  std::uint8_t Yellow = Pal.Index({248, 214, 72});
  std::uint8_t Violet = Pal.Index({150, 96, 210});
  TTexture GrassT = GrassTexture(Grass, 11);
  TTexture GrassShadow = Darker(GrassT, Pal, 0.72);
};

TTerrainStyle onGrass(TFieldArt& a, TTexture inside, int seed) {
  TTerrainStyle s;
  s.Inside = std::move(inside);
  s.Outside = a.GrassT;
  s.Seed = seed;
  return s;
}

TWaterStyle fieldWater(TFieldArt& a) {
  TWaterStyle w;
  w.Shallow = [&a](int frame) {
    TTerrainStyle s = onGrass(a, WaterTexture(a.Water, a.Foam, frame, 5), 21);
    s.EdgeIndex = frame == 1 ? a.Water[4] : a.Foam;
    s.Margin = 3;
    s.Radius = 4;
    s.OutsideShadow = nullptr;
    // Wet sand between grass and water.
    auto inside = s.Inside;
    s.Inside = [inside, &a](int x, int y) { return inside(x, y); };
    return s;
  };
  w.ShoreB = [&a](int frame) {
    // Water B: a stone bank, for ponds in gardens and moats.
    TTerrainStyle s = onGrass(a, WaterTexture(a.Water, a.Foam, frame, 6), 22);
    s.Outside = [&a](int x, int y) { return (x + y * 3) % 7 == 0 ? a.Rock[1] : a.Rock[3 - ((x / 4 + y / 4) & 1)]; };
    s.EdgeIndex = a.Rock[0];
    s.Wave = 0;
    s.Radius = 2;
    s.Margin = 4;
    return s;
  };
  w.Deep = [&a](int x, int y, int frame) { return WaterTexture(a.Deep, a.Water[3], frame, 7)(x, y); };
  return w;
}

void autotiles(TFieldArt& a, TCanvas& c) {
  auto at = [&](int n, const TTerrainStyle& s) {
    static constexpr int xs[12] = {0, 48, 0, 48, 96, 144, 96, 144, 96, 144, 96, 144};
    static constexpr int ys[12] = {128, 128, 192, 192, 0, 0, 64, 64, 128, 128, 192, 192};
    DrawAutotileBlock(c, xs[n - 1], ys[n - 1], s);
  };
  // 1 meadow: darker, lusher grass that blends into the plain grass.
  TTerrainStyle meadow = onGrass(a, GrassTexture(TRamp{a.Grass[0], a.Grass[0], a.Grass[1], a.Grass[2], a.Grass[3]}, 12), 31);
  meadow.Wave = 2;
  at(1, meadow);
  // 2 path.
  TTerrainStyle path = onGrass(a, DirtTexture(a.Dirt, 13), 32);
  path.EdgeIndex = a.Dirt[0];
  path.Wave = 1.5;
  at(2, path);
  // 3 sand.
  TTerrainStyle sand = onGrass(a, SandTexture(a.Sand, 14), 33);
  sand.EdgeIndex = a.Sand[0];
  at(3, sand);
  // 4 flower meadow.
  TTerrainStyle flowers = onGrass(a, FlowerTexture(a.GrassT, a.Red, a.Yellow, a.White, 15), 34);
  flowers.Wave = 2;
  at(4, flowers);
  // 5 forest: a raised canopy that throws a shadow and shows trunks along its south edge.
  TTerrainStyle forest = onGrass(a, CanopyTexture(a.Leaves, 16), 35);
  forest.EdgeIndex = a.Outline;
  forest.OutsideShadow = a.GrassShadow;
  forest.Wave = 2.5;
  forest.Margin = 2.5;
  forest.Face = [&a](int x, int y) {
    const int t = x % 8;
    if (t == 3 || t == 4) return y % 4 == 0 ? a.Wood[1] : a.Wood[2];
    return (y & 1) ? a.Leaves[0] : a.Leaves[1];
  };
  forest.FaceHeight = 4;
  at(5, forest);
  // 6 hills: a grassy plateau with a rock face.
  TTerrainStyle hill = onGrass(a, GrassTexture(a.Grass, 17), 36);
  hill.Inside = [g = GrassTexture(TRamp{a.Grass[1], a.Grass[2], a.Grass[3], a.Grass[3], a.Grass[4]}, 17)](int x, int y) { return g(x, y); };
  hill.EdgeIndex = a.Outline;
  hill.HighlightIndex = a.Grass[4];
  hill.OutsideShadow = a.GrassShadow;
  hill.Face = [&a](int x, int y) { return (x % 5 == 0 || y == 15) ? a.Rock[0] : a.Rock[1 + (Hash3(x / 5, y / 3, 4) % 2)]; };
  hill.FaceHeight = 6;
  hill.Wave = 1;
  at(6, hill);
  // 7 mountains: a range of peaks.
  TTerrainStyle rock = onGrass(a, PeaksTexture(a.Rock, a.Snow[4], a.Outline), 37);
  rock.EdgeIndex = a.Outline;
  rock.OutsideShadow = a.GrassShadow;
  rock.Wave = 1.5;
  at(7, rock);
  // 8 snow.
  TTerrainStyle snow = onGrass(a, SandTexture(a.Snow, 19), 38);
  snow.EdgeIndex = a.Snow[0];
  snow.Wave = 2;
  at(8, snow);
  // 9 marsh.
  TTerrainStyle marsh = onGrass(a, [&a](int x, int y) {
    const double n = SmoothNoise(x, y, 4, 40, 16);
    if (n > 0.62) return a.Water[1];
    if (n > 0.56) return a.Marsh[0];
    return a.Marsh[1 + int(Hash3(x & 15, y & 15, 41) % 3)];
  }, 39);
  marsh.EdgeIndex = a.Marsh[0];
  marsh.Wave = 2;
  at(9, marsh);
  // 10 paved road.
  TTerrainStyle road = onGrass(a, CobbleTexture(a.Rock, a.Rock[0], 42), 40);
  road.EdgeIndex = a.Outline;
  road.Wave = 0.5;
  road.Radius = 3;
  at(10, road);
  // 11 farmland.
  TTerrainStyle farm = onGrass(a, RowsTexture(a.Dirt, a.Grass[4], 43), 41);
  farm.EdgeIndex = a.Wood[1];
  farm.Wave = 0;
  farm.Radius = 2;
  at(11, farm);
  // 12 wheat field.
  TTerrainStyle wheat = onGrass(a, [&a](int x, int y) {
    const int lx = (x + (y / 4) * 2) % 4;
    if (lx == 0) return a.Wheat[1];
    return Speckle(a.Wheat, x, y, 44, 2, 4, 0.5);
  }, 42);
  wheat.EdgeIndex = a.Wheat[0];
  wheat.Wave = 1.5;
  at(12, wheat);
}

void animated(TFieldArt& a, TCanvas& c) {
  for (int f = 0; f < 4; ++f) {
    // Waterfall: falling streaks that move down a quarter tile per frame.
    c.Paint(48, 64 + 16 * f, 16, 16, [&](int x, int y) {
      const int lx = x - 48, ly = (y - 64 - 16 * f + 16 - 4 * f) & 15;
      const int streak = int(Hash3(lx, 0, 50) % 4);
      const int v = (ly + streak * 4) & 15;
      if (v < 2) return int(a.Foam);
      if (v < 6) return int(a.Water[4]);
      return int(a.Water[2 + (lx & 1)]);
    });
    // Sparkling shallows.
    c.Paint(64, 64 + 16 * f, 16, 16, [&](int x, int y) {
      const int lx = x - 64, ly = y - 64 - 16 * f;
      const std::uint8_t base = WaterTexture(a.Water, a.Water[3], f % 3, 51)(lx, ly);
      const int sx = int(Hash3(f, 0, 52) % 10) + 3, sy = int(Hash3(f, 1, 52) % 10) + 3;
      if ((lx == sx && std::abs(ly - sy) <= 2) || (ly == sy && std::abs(lx - sx) <= 2)) return int(a.White);
      return int(base);
    });
    // Campfire on grass.
    c.Paint(80, 64 + 16 * f, 16, 16, [&](int x, int y) {
      const int lx = x - 80, ly = y - 64 - 16 * f;
      if (ly >= 12 && lx >= 3 && lx <= 12 && (ly == 12 || lx % 3 != 0)) return int(a.Wood[1 + (lx + ly) % 2]);
      const double sway = std::sin((ly + f * 3) * 0.9) * 1.2;
      const double w = (ly - 2) * 0.45;
      const double dx = std::abs(lx - 7.5 - sway * (12 - ly) / 10.0);
      if (ly >= 2 && ly < 13 && dx < w) {
        if (dx < w * 0.35 && ly > 7) return int(a.Yellow);
        return dx < w * 0.7 ? int(a.Pal.Index({250, 150, 40})) : int(a.Red);
      }
      return int(a.GrassT(lx, ly));
    });
  }
}

}  // namespace

void MakeFieldChipSet(const std::filesystem::path& file) {
  TFieldArt a;
  TCanvas c(480, 256, a.Pal);
  DrawWater(c, fieldWater(a));
  animated(a, c);
  autotiles(a, c);
  TPropKit kit(a.Pal, a.Outline);
  kit.Grass = a.GrassT;
  kit.Leaves = a.Leaves;
  kit.Wood = a.Wood;
  kit.Rock = a.Rock;
  kit.Dirt = a.Dirt;
  kit.Water = a.Water;
  kit.Sand = a.Sand;
  kit.Snow = a.Snow;
  kit.Flower = {a.Red, a.Yellow, a.Violet, a.White};
  DrawFieldPlainTiles(kit, c);
  DrawFieldUpperTiles(kit, c);
  c.Save(file);
}
