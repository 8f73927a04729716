// "Pueblo": the town and interior tile set. Canals and fountains, plazas, gardens, carpets and
// floors as autotiles; house walls, roofs, doors, windows and inner walls as plain tiles;
// furniture and street objects on the upper layer.
#include "ChipSets.h"
#include "Props.h"
#include "Textures.h"

#include <cmath>

namespace {

struct TTownArt {
  TPaletteBuilder Pal{{0, 0, 0}};
  TRamp Grass = Pal.Ramp({34, 86, 38}, {132, 190, 78}, 5);
  TRamp Stone = Pal.Ramp({70, 68, 76}, {196, 192, 184}, 5);
  TRamp Dirt = Pal.Ramp({92, 62, 36}, {196, 156, 104}, 5);
  TRamp Wood = Pal.Ramp({70, 42, 22}, {196, 142, 84}, 5);
  TRamp Water = Pal.Ramp({30, 84, 168}, {126, 196, 238}, 5);
  TRamp Deep = Pal.Ramp({14, 34, 96}, {48, 96, 172}, 5);
  TRamp Leaves = Pal.Ramp({16, 52, 28}, {96, 162, 64}, 5);
  TRamp Roof = Pal.Ramp({90, 24, 24}, {220, 96, 70}, 5);
  TRamp RoofB = Pal.Ramp({24, 40, 90}, {90, 130, 200}, 5);
  TRamp Plaster = Pal.Ramp({150, 130, 110}, {244, 232, 210}, 5);
  TRamp Brick = Pal.Ramp({100, 50, 40}, {200, 120, 90}, 5);
  TRamp Carpet = Pal.Ramp({90, 20, 30}, {200, 60, 70}, 5);
  TRamp CarpetB = Pal.Ramp({20, 30, 90}, {70, 100, 190}, 5);
  TRamp Sand = Pal.Ramp({170, 138, 84}, {246, 226, 168}, 5);
  std::uint8_t Outline = Pal.Index({28, 30, 36});
  std::uint8_t Gold = Pal.Index({236, 196, 70});
  std::uint8_t Foam = Pal.Index({232, 244, 255});
  std::uint8_t Glass = Pal.Index({150, 200, 230});
  std::uint8_t GlassL = Pal.Index({220, 240, 255});
  std::uint8_t Dark = Pal.Index({18, 14, 20});
  std::uint8_t Red = Pal.Index({214, 58, 64});
  std::uint8_t Yellow = Pal.Index({248, 214, 72});
  std::uint8_t White = Pal.Index({250, 250, 250});
  TTexture GrassT = GrassTexture(Grass, 11);
  TTexture GrassShadow = Darker(GrassT, Pal, 0.72);
  TTexture Floor = PlankTexture(Wood, Wood[0], false);
};

void at(TCanvas& c, int n, const TTerrainStyle& s) {
  static constexpr int xs[12] = {0, 48, 0, 48, 96, 144, 96, 144, 96, 144, 96, 144};
  static constexpr int ys[12] = {128, 128, 192, 192, 0, 0, 64, 64, 128, 128, 192, 192};
  DrawAutotileBlock(c, xs[n - 1], ys[n - 1], s);
}

TTerrainStyle style(TTexture inside, TTexture outside, int seed) {
  TTerrainStyle s;
  s.Inside = std::move(inside);
  s.Outside = std::move(outside);
  s.Seed = seed;
  return s;
}

void water(TTownArt& a, TCanvas& c) {
  TWaterStyle w;
  w.Shallow = [&a](int frame) {
    TTerrainStyle s = style(WaterTexture(a.Water, a.Foam, frame, 5), CobbleTexture(a.Stone, a.Stone[0], 3), 21);
    s.EdgeIndex = a.Stone[0];
    s.Wave = 0;
    s.Radius = 2;
    s.Margin = 3;
    return s;
  };
  w.ShoreB = [&a](int frame) {
    TTerrainStyle s = style(WaterTexture(a.Water, a.Foam, frame, 6), [&a](int x, int y) { return (y & 15) == 0 || (x & 7) == 0 ? a.Plaster[1] : a.Plaster[3]; }, 22);
    s.EdgeIndex = a.Plaster[0];
    s.Wave = 0;
    s.Radius = 4;
    s.Margin = 4;
    return s;
  };
  w.Deep = [&a](int x, int y, int frame) { return WaterTexture(a.Deep, a.Water[3], frame, 7)(x, y); };
  DrawWater(c, w);
}

void animated(TTownArt& a, TCanvas& c) {
  for (int f = 0; f < 4; ++f) {
    // Hearth fire in a stone fireplace.
    c.Paint(48, 64 + 16 * f, 16, 16, [&](int x, int y) {
      const int lx = x - 48, ly = y - 64 - 16 * f;
      if (lx < 2 || lx > 13 || ly < 2) return int(BrickTexture(a.Brick, a.Stone[1], 4)(lx, ly));
      const double sway = std::sin((ly + f * 3) * 0.9);
      const double dx = std::abs(lx - 7.5 - sway), w = (ly - 3) * 0.45;
      if (ly > 3 && dx < w) return int(dx < w * 0.4 && ly > 8 ? a.Yellow : a.Red);
      return int(a.Dark);
    });
    // Fountain jet over its basin water.
    c.Paint(64, 64 + 16 * f, 16, 16, [&](int x, int y) {
      const int lx = x - 64, ly = y - 64 - 16 * f;
      const std::uint8_t base = WaterTexture(a.Water, a.Foam, f % 3, 9)(lx, ly);
      const double r = std::hypot(lx - 7.5, ly - 7.5);
      if (r < 2.5) return int(a.White);
      if (std::abs(r - (3 + f * 1.5)) < 0.7) return int(a.Foam);
      return int(base);
    });
    // Candle on a table.
    c.Paint(80, 64 + 16 * f, 16, 16, [&](int x, int y) {
      const int lx = x - 80, ly = y - 64 - 16 * f;
      if (lx >= 6 && lx <= 9 && ly >= 8 && ly <= 14) return int(lx == 6 ? a.White : a.Plaster[3]);
      if (ly == 15) return int(a.Wood[1]);
      const double flick = (f % 2) ? 0.5 : -0.5;
      if (std::hypot((lx - 7.5 - flick) * 1.6, ly - 5.0) < 2.6) return int(ly > 5 ? a.Yellow : a.Red);
      return int(a.Floor(lx, ly));
    });
  }
}

void autotiles(TTownArt& a, TCanvas& c) {
  const TTexture cobble = CobbleTexture(a.Stone, a.Stone[0], 42);
  TTerrainStyle grass = style(GrassTexture(TRamp{a.Grass[0], a.Grass[1], a.Grass[2], a.Grass[3], a.Grass[4]}, 12), cobble, 31);
  grass.EdgeIndex = a.Stone[1];
  at(c, 1, grass);
  TTerrainStyle plaza = style(TilesTexture(a.Stone[3], a.Stone[2], a.Stone[1]), cobble, 32);
  plaza.EdgeIndex = a.Stone[0];
  plaza.Wave = 0, plaza.Radius = 2;
  at(c, 2, plaza);
  TTerrainStyle dirt = style(DirtTexture(a.Dirt, 13), a.GrassT, 33);
  dirt.EdgeIndex = a.Dirt[0], dirt.Wave = 1.5;
  at(c, 3, dirt);
  TTerrainStyle carpet = style([&a](int x, int y) { return ((x + y) & 3) == 0 ? a.Carpet[3] : a.Carpet[2]; }, a.Floor, 34);
  carpet.EdgeIndex = a.Gold, carpet.Wave = 0, carpet.Radius = 1, carpet.Margin = 2;
  at(c, 4, carpet);
  TTerrainStyle hedge = style(CanopyTexture(a.Leaves, 16), a.GrassT, 35);
  hedge.EdgeIndex = a.Outline, hedge.Wave = 0.6, hedge.Radius = 3;
  hedge.OutsideShadow = a.GrassShadow;
  hedge.Face = [&a](int x, int y) { return (x + y) % 3 ? a.Leaves[1] : a.Leaves[0]; };
  hedge.FaceHeight = 4;
  at(c, 5, hedge);
  TTerrainStyle floor = style(a.Floor, [&a](int, int) { return a.Dark; }, 36);
  floor.EdgeIndex = a.Wood[0], floor.Wave = 0, floor.Radius = 0.5, floor.Margin = 1;
  at(c, 6, floor);
  TTerrainStyle tiles = style(TilesTexture(a.Plaster[3], a.Plaster[2], a.Stone[2]), [&a](int, int) { return a.Dark; }, 37);
  tiles.EdgeIndex = a.Stone[0], tiles.Wave = 0, tiles.Radius = 0.5, tiles.Margin = 1;
  at(c, 7, tiles);
  TTerrainStyle flowers = style(FlowerTexture(DirtTexture(a.Dirt, 14), a.Red, a.Yellow, a.White, 15), cobble, 38);
  flowers.EdgeIndex = a.Wood[1], flowers.Wave = 0, flowers.Radius = 1;
  at(c, 8, flowers);
  TTerrainStyle sand = style(SandTexture(a.Sand, 14), a.GrassT, 39);
  sand.EdgeIndex = a.Sand[0];
  at(c, 9, sand);
  TTerrainStyle blue = style([&a](int x, int y) { return ((x ^ y) & 4) ? a.CarpetB[2] : a.CarpetB[3]; }, a.Floor, 40);
  blue.EdgeIndex = a.Gold, blue.Wave = 0, blue.Radius = 1, blue.Margin = 2;
  at(c, 10, blue);
  TTerrainStyle dark = style([&a](int, int) { return a.Dark; }, a.Floor, 41);
  dark.EdgeIndex = a.Outline, dark.Wave = 0, dark.Radius = 0.5, dark.Margin = 1;
  at(c, 11, dark);
  TTerrainStyle wallTop = style([&a](int x, int y) { return ((x + 2 * y) % 9 == 0) ? a.Stone[2] : a.Stone[3]; }, cobble, 42);
  wallTop.EdgeIndex = a.Outline, wallTop.Wave = 0, wallTop.Radius = 0.5, wallTop.Margin = 2;
  wallTop.HighlightIndex = a.Stone[4];
  wallTop.Face = BrickTexture(a.Stone, a.Stone[0], 9);
  wallTop.FaceHeight = 7;
  wallTop.OutsideShadow = Darker(cobble, a.Pal, 0.7);
  at(c, 12, wallTop);
}

// Plain tiles: roofs (two colours, 3 × 2 each: ridge row and eaves row), walls of plaster,
// brick and wood with windows and doors, inner walls, floors and stairs.
void plainTiles(TTownArt& a, TCanvas& s) {
  auto tile = [&](int k, const std::function<int(int, int)>& f) {
    const TVireoPoint o = PlainOrigin(k);
    s.Paint(o.X, o.Y, 16, 16, [&](int x, int y) { return f(x - o.X, y - o.Y); });
  };
  for (int colour = 0; colour < 2; ++colour) {
    const TRamp& r = colour == 0 ? a.Roof : a.RoofB;
    for (int part = 0; part < 3; ++part)
      for (int row = 0; row < 2; ++row)
        tile(colour * 3 + part + row * 6, [&](int x, int y) {
          const int ly = y + row * 16;
          if ((part == 0 && x == 0) || (part == 2 && x == 15)) return int(a.Outline);
          if (row == 1 && y >= 13) return int(y == 15 ? a.Outline : r[0]);
          if (row == 0 && y < 3) return int(y == 0 ? a.Outline : r[4]);
          const int shingle = (ly % 5), off = ((ly / 5) & 1) * 3;
          if (shingle == 4) return int(r[0]);
          if ((x + off) % 6 == 5) return int(r[1]);
          return int(shingle == 0 ? r[3] : r[2]);
        });
  }
  // 12..17: plaster wall, wall with window, wall with door, brick wall, brick with window, wood wall.
  const TTexture plaster = [&a](int x, int y) { return (y & 15) == 15 ? a.Plaster[0] : Speckle(a.Plaster, x, y, 5, 2, 3, 0.4); };
  const TTexture brick = BrickTexture(a.Brick, a.Plaster[1], 6);
  const TTexture planks = PlankTexture(a.Wood, a.Wood[0], true);
  auto window = [&](TTexture wall) {
    return [&a, wall](int x, int y) {
      if (x >= 3 && x <= 12 && y >= 3 && y <= 11) {
        if (x == 3 || x == 12 || y == 3 || y == 11 || x == 7 || x == 8 || y == 7) return int(a.Wood[1]);
        return int((x + y < 12) ? a.GlassL : a.Glass);
      }
      if (y == 12 && x >= 2 && x <= 13) return int(a.Wood[3]);
      return int(wall(x, y));
    };
  };
  auto door = [&](TTexture wall) {
    return [&a, wall](int x, int y) {
      if (x >= 3 && x <= 12 && y >= 2) {
        if (x == 3 || x == 12 || y == 2) return int(a.Wood[0]);
        if (x == 10 && y == 9) return int(a.Gold);
        return int(x % 3 == 1 ? a.Wood[1] : a.Wood[2]);
      }
      return int(wall(x, y));
    };
  };
  tile(12, [&](int x, int y) { return int(plaster(x, y)); });
  tile(13, window(plaster));
  tile(14, door(plaster));
  tile(15, [&](int x, int y) { return int(brick(x, y)); });
  tile(16, window(brick));
  tile(17, door(brick));
  tile(18, [&](int x, int y) { return int(planks(x, y)); });
  tile(19, window(planks));
  tile(20, door(planks));
  // 21..23: an open doorway, a shop sign wall, stairs down.
  tile(21, [&](int x, int y) { return x >= 3 && x <= 12 && y >= 2 ? int(a.Dark) : int(plaster(x, y)); });
  tile(22, [&](int x, int y) {
    if (x >= 2 && x <= 13 && y >= 4 && y <= 10) return int(x == 2 || x == 13 || y == 4 || y == 10 ? a.Wood[0] : ((x + y) % 4 == 0 ? a.Gold : a.Wood[3]));
    return int(plaster(x, y));
  });
  tile(23, [&](int x, int y) { return int(y % 4 == 3 ? a.Dark : (y % 4 == 0 ? a.Stone[4] : a.Stone[2 + (x == 0 || x == 15 ? -1 : 0)])); });
  // 24..29: inner walls (top, middle with a baseboard), wallpaper, stone wall, wood floor, tile floor.
  tile(24, [&](int x, int y) { return int(y < 3 ? a.Wood[1] : a.Plaster[3 - ((x / 4) & 1)]); });
  tile(25, [&](int x, int y) { return int(y > 12 ? (y == 13 ? a.Wood[3] : a.Wood[1]) : a.Plaster[3 - ((x / 4) & 1)]); });
  tile(26, [&](int x, int y) { return int((x % 8 == 3 && y % 6 < 2) ? a.Gold : a.CarpetB[1]); });
  tile(27, [&](int x, int y) { return int(BrickTexture(a.Stone, a.Stone[0], 7)(x, y)); });
  tile(28, [&](int x, int y) { return int(a.Floor(x, y)); });
  tile(29, [&](int x, int y) { return int(TilesTexture(a.Plaster[4], a.Stone[2], a.Stone[1])(x, y)); });
  // 30..35: cobbles, grass, dirt, stairs up, counter front, well.
  tile(30, [&](int x, int y) { return int(CobbleTexture(a.Stone, a.Stone[0], 42)(x, y)); });
  tile(31, [&](int x, int y) { return int(a.GrassT(x, y)); });
  tile(32, [&](int x, int y) { return int(DirtTexture(a.Dirt, 13)(x, y)); });
  tile(33, [&](int, int y) { return int(y % 4 == 0 ? a.Wood[0] : (y % 4 == 1 ? a.Wood[4] : a.Wood[2])); });
  tile(34, [&](int x, int y) { return int(y < 4 ? (y == 0 ? a.Wood[4] : a.Wood[3]) : (x % 8 == 0 ? a.Wood[0] : a.Wood[1])); });
  tile(35, [&](int x, int y) {
    const double r = std::hypot(x - 7.5, y - 7.5);
    if (r < 4.5) return int(a.Deep[1]);
    if (r < 7.5) return int(a.Stone[(x + y) % 2 ? 2 : 3]);
    return int(CobbleTexture(a.Stone, a.Stone[0], 42)(x, y));
  });
  // The rest: floors and ground in quiet variants.
  const TTexture grounds[] = {a.Floor, TilesTexture(a.Plaster[4], a.Stone[2], a.Stone[1]), CobbleTexture(a.Stone, a.Stone[0], 43), a.GrassT, DirtTexture(a.Dirt, 15), PlankTexture(a.Wood, a.Wood[0], true)};
  for (int k = 36; k < 144; ++k) FillTile(s, PlainOrigin(k), grounds[((k - 36) / 6) % 6]);
}

void upperTiles(TTownArt& a, TCanvas& s) {
  auto obj = [&](int w, int h, int k, const std::function<void(TCanvas&)>& draw) {
    TTileObject o(w, h, a.Pal);
    draw(o.Canvas);
    o.Canvas.Outline(0, 0, w * 16, h * 16, a.Outline);
    o.PlaceUpper(s, k);
  };
  const TRamp& w = a.Wood;
  // Row 0 (1..5): chair, stool, barrel, crate, pot plant.
  obj(1, 1, 1, [&](TCanvas& c) { c.FillRect(4, 2, 8, 7, w[2]); c.FillRect(4, 8, 8, 3, w[3]); c.FillRect(4, 11, 2, 4, w[1]); c.FillRect(10, 11, 2, 4, w[1]); });
  obj(1, 1, 2, [&](TCanvas& c) { c.FillEllipse(8, 7, 5, 3, w[3]); c.FillRect(4, 9, 2, 6, w[1]); c.FillRect(10, 9, 2, 6, w[1]); });
  obj(1, 1, 3, [&](TCanvas& c) { c.FillEllipse(8, 8.5, 5.5, 6.5, w[2]); c.FillRect(3, 5, 11, 1, a.Stone[1]); c.FillRect(3, 11, 11, 1, a.Stone[1]); c.FillEllipse(8, 3.5, 4, 1.5, w[3]); });
  obj(1, 1, 4, [&](TCanvas& c) { c.FillRect(2, 3, 12, 12, w[3]); c.FrameRect(3, 4, 10, 10, w[1]); c.Line(3, 4, 12, 13, w[1]); });
  obj(1, 1, 5, [&](TCanvas& c) { c.FillRect(5, 10, 6, 5, a.Brick[2]); DrawTreeCrown(c, 8, 6, 5, a.Leaves, a.Outline, 3); });
  // 6/7 + 12/13: a table (2 × 2); 8/14: a bed (1 × 2); 9/15: a bookshelf; 10/16: a wardrobe; 11/17: a clock.
  obj(2, 2, 6, [&](TCanvas& c) {
    c.FillRect(2, 6, 28, 16, w[3]); c.FillRect(2, 6, 28, 2, w[4]); c.FillRect(2, 22, 28, 3, w[1]);
    c.FillRect(4, 25, 3, 6, w[1]); c.FillRect(25, 25, 3, 6, w[1]);
    c.FillRect(10, 9, 12, 9, a.White); c.FillEllipse(16, 13, 3, 2, a.Red);
  });
  obj(1, 2, 8, [&](TCanvas& c) {
    c.FillRect(2, 2, 12, 28, w[2]); c.FillRect(3, 3, 10, 6, a.White); c.FillRect(3, 10, 10, 18, a.Carpet[3]);
    c.FillRect(3, 10, 10, 2, a.Carpet[4]);
  });
  obj(1, 2, 9, [&](TCanvas& c) {
    c.FillRect(1, 2, 14, 29, w[1]);
    for (int shelf = 0; shelf < 3; ++shelf)
      for (int b = 0; b < 6; ++b) c.FillRect(2 + b * 2, 4 + shelf * 9, 2, 7, std::array<std::uint8_t, 4>{a.Red, a.CarpetB[3], a.Leaves[3], a.Gold}[std::size_t((b + shelf) % 4)]);
  });
  obj(1, 2, 10, [&](TCanvas& c) { c.FillRect(1, 2, 14, 29, w[2]); c.FillRect(7, 4, 1, 24, w[0]); c.FillRect(5, 14, 1, 3, a.Gold); c.FillRect(9, 14, 1, 3, a.Gold); });
  obj(1, 2, 11, [&](TCanvas& c) { c.FillRect(4, 4, 8, 27, w[1]); c.FillEllipse(8, 8, 4, 4, a.Plaster[4]); c.Line(8, 8, 8, 5, a.Outline); c.Line(8, 8, 10, 8, a.Outline); c.FillRect(7, 18, 2, 8, a.Gold); });
  // 18..23: counter (left, middle, right), pot, sack, sign.
  for (int part = 0; part < 3; ++part)
    obj(1, 1, 18 + part, [&](TCanvas& c) {
      c.FillRect(part == 0 ? 2 : 0, 2, part == 1 ? 16 : 14, 13, w[2]);
      c.FillRect(part == 0 ? 2 : 0, 2, part == 1 ? 16 : 14, 3, w[4]);
    });
  obj(1, 1, 21, [&](TCanvas& c) { c.FillEllipse(8, 9, 5, 5, a.Brick[2]); c.FillRect(5, 3, 6, 3, a.Brick[2]); c.FillEllipse(6, 8, 2, 2, a.Brick[3]); });
  obj(1, 1, 22, [&](TCanvas& c) { c.FillEllipse(8, 10, 6, 5, a.Sand[3]); c.FillRect(6, 3, 4, 4, a.Sand[2]); });
  obj(1, 1, 23, [&](TCanvas& c) { c.FillRect(7, 8, 2, 8, w[1]); c.FillRect(2, 2, 12, 7, w[3]); c.FillRect(4, 4, 8, 1, w[1]); });
  // 24/30: street lamp; 25/31: a market stall roof (left) 26/32 (right); 27/33: a tree; 28: bench; 29: fence.
  obj(1, 2, 24, [&](TCanvas& c) { c.FillRect(7, 8, 2, 23, a.Stone[0]); c.FillRect(4, 1, 8, 8, a.Stone[1]); c.FillRect(5, 2, 6, 6, a.Yellow); });
  obj(2, 2, 25, [&](TCanvas& c) {
    for (int x = 0; x < 32; ++x) c.FillRect(x, 4, 1, 8, (x / 4) % 2 ? a.White : a.Red);
    c.FillRect(2, 12, 2, 20, w[1]); c.FillRect(28, 12, 2, 20, w[1]);
    c.FillRect(2, 20, 28, 6, w[3]);
    for (int i = 0; i < 6; ++i) c.FillEllipse(6 + i * 4, 19, 2, 2, i % 2 ? a.Yellow : a.Leaves[3]);
  });
  obj(1, 2, 27, [&](TCanvas& c) { DrawTrunk(c, 8, 16, 30, 2, w, a.Outline); DrawTreeCrown(c, 8, 10, 7.5, a.Leaves, a.Outline, 21); });
  obj(1, 1, 28, [&](TCanvas& c) { c.FillRect(1, 5, 14, 3, w[3]); c.FillRect(1, 9, 14, 3, w[2]); c.FillRect(2, 12, 2, 3, w[1]); c.FillRect(12, 12, 2, 3, w[1]); });
  obj(1, 1, 29, [&](TCanvas& c) { c.FillRect(0, 5, 16, 2, a.Stone[3]); c.FillRect(0, 10, 16, 2, a.Stone[3]); for (int x : {1, 7, 13}) c.FillRect(x, 3, 2, 12, a.Stone[1]); });
  // 34/35: a window curtain pair and a painting.
  obj(1, 1, 34, [&](TCanvas& c) { c.FillRect(2, 2, 12, 10, a.Gold); c.FillRect(3, 3, 10, 8, a.Glass); c.FillEllipse(8, 9, 4, 2, a.Leaves[3]); });
  obj(1, 1, 35, [&](TCanvas& c) { c.FillRect(1, 0, 4, 14, a.Carpet[3]); c.FillRect(11, 0, 4, 14, a.Carpet[3]); c.FillRect(1, 0, 14, 2, a.Carpet[4]); });
}

}  // namespace

void MakeTownChipSet(const std::filesystem::path& file) {
  TTownArt a;
  TCanvas c(480, 256, a.Pal);
  water(a, c);
  animated(a, c);
  autotiles(a, c);
  plainTiles(a, c);
  upperTiles(a, c);
  c.Save(file);
}
