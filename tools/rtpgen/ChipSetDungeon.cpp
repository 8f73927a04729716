// "Mazmorra": caves and dungeons. Underground pools, lava, pits, rock and brick wall masses
// as autotiles; wall faces, stairs and doors as plain tiles; stalagmites, crystals, bones and
// braziers on the upper layer.
#include "ChipSets.h"
#include "Props.h"
#include "Textures.h"

#include <cmath>

namespace {

struct TDungeonArt {
  TPaletteBuilder Pal{{0, 0, 0}};
  TRamp Rock = Pal.Ramp({40, 36, 40}, {150, 140, 132}, 5);
  TRamp Floor = Pal.Ramp({46, 42, 46}, {120, 110, 104}, 5);
  TRamp Brick = Pal.Ramp({50, 48, 60}, {150, 148, 160}, 5);
  TRamp Lava = Pal.Ramp({150, 30, 10}, {255, 230, 110}, 5);
  TRamp Water = Pal.Ramp({20, 60, 110}, {90, 160, 200}, 5);
  TRamp Deep = Pal.Ramp({8, 20, 50}, {30, 60, 110}, 5);
  TRamp Moss = Pal.Ramp({30, 60, 30}, {110, 150, 70}, 5);
  TRamp Wood = Pal.Ramp({60, 36, 20}, {170, 120, 70}, 5);
  TRamp Crystal = Pal.Ramp({60, 60, 150}, {200, 230, 255}, 5);
  TRamp Ice = Pal.Ramp({120, 150, 190}, {230, 244, 255}, 5);
  TRamp Poison = Pal.Ramp({50, 20, 60}, {150, 80, 170}, 5);
  std::uint8_t Outline = Pal.Index({16, 12, 18});
  std::uint8_t Void = Pal.Index({6, 4, 8});
  std::uint8_t Bone = Pal.Index({226, 220, 196});
  std::uint8_t Foam = Pal.Index({200, 230, 240});
  std::uint8_t Flame = Pal.Index({255, 170, 40});
  TTexture FloorT = DirtTexture(Floor, 71);
  TTexture FloorShadow = Darker(FloorT, Pal, 0.7);
};

TTerrainStyle onFloor(TDungeonArt& a, TTexture inside, int seed) {
  TTerrainStyle s;
  s.Inside = std::move(inside);
  s.Outside = a.FloorT;
  s.Seed = seed;
  return s;
}

TTexture lavaTexture(TDungeonArt& a, int frame) {
  return [&a, frame](int x, int y) {
    const double n = SmoothNoise(x + frame * 5, y + frame * 3, 4, 80, 16);
    const double m = SmoothNoise(x, y, 8, 81, 16);
    const double v = n * 0.6 + m * 0.4;
    return a.Lava[std::size_t(std::clamp(int(v * 6) - 1, 0, 4))];
  };
}

void walls(TDungeonArt& a, TCanvas& s, int kTop, const TTexture& face, const TTexture& top) {
  for (int part = 0; part < 3; ++part)
    for (int row = 0; row < 2; ++row) {
      const TVireoPoint o = PlainOrigin(kTop + row * 6 + part);
      s.Paint(o.X, o.Y, 16, 16, [&](int x, int y) {
        const int lx = x - o.X, ly = y - o.Y + row * 16;
        if ((part == 0 && lx == 0) || (part == 2 && lx == 15)) return int(a.Outline);
        if (row == 0 && ly < 4) return int(ly == 3 ? a.Outline : top(lx, ly));
        if (row == 1 && ly > 29) return int(a.Outline);
        return int(face(lx, ly));
      });
    }
}

}  // namespace

void MakeDungeonChipSet(const std::filesystem::path& file) {
  TDungeonArt a;
  TCanvas c(480, 256, a.Pal);
  const TTexture rockFace = [&a](int x, int y) {
    const int band = y / 5;
    if (y % 5 == 0 && Hash3(x / 4, band, 5) % 3 != 0) return a.Rock[0];
    return a.Rock[1 + (Hash3(x / 3 + band, band, 6) % 3)];
  };
  const TTexture brickFace = BrickTexture(a.Brick, a.Brick[0], 8);
  const TTexture rockTop = RockTexture(a.Rock, 9);
  // Water: pools with a rock rim (A) or a brick rim (B).
  TWaterStyle w;
  w.Shallow = [&a](int frame) {
    TTerrainStyle s = onFloor(a, WaterTexture(a.Water, a.Foam, frame, 5), 21);
    s.EdgeIndex = a.Rock[0];
    return s;
  };
  w.ShoreB = [&a](int frame) {
    TTerrainStyle s = onFloor(a, WaterTexture(a.Water, a.Foam, frame, 6), 22);
    s.Outside = BrickTexture(a.Brick, a.Brick[0], 3);
    s.EdgeIndex = a.Brick[0], s.Wave = 0, s.Radius = 1;
    return s;
  };
  w.Deep = [&a](int x, int y, int frame) { return WaterTexture(a.Deep, a.Water[2], frame, 7)(x, y); };
  DrawWater(c, w);
  // Animated: bubbling lava, a wall torch, a glowing crystal.
  for (int f = 0; f < 4; ++f) {
    c.Paint(48, 64 + 16 * f, 16, 16, [&](int x, int y) {
      const int lx = x - 48, ly = y - 64 - 16 * f;
      const double r = std::hypot(lx - 5 - f * 2, ly - 9 + f);
      if (r < 1.5 + f * 0.5 && f < 3) return int(a.Lava[4]);
      return int(lavaTexture(a, f)(lx, ly));
    });
    c.Paint(64, 64 + 16 * f, 16, 16, [&](int x, int y) {
      const int lx = x - 64, ly = y - 64 - 16 * f;
      if (lx >= 7 && lx <= 8 && ly >= 8 && ly <= 14) return int(a.Wood[1]);
      const double flick = (f % 2) ? 0.6 : -0.6;
      const double d = std::hypot((lx - 7.5 - flick) * 1.4, (ly - 5.0) * 0.9);
      if (d < 3.5) return int(d < 1.6 ? a.Lava[4] : a.Flame);
      return int(brickFace(lx, ly));
    });
    c.Paint(80, 64 + 16 * f, 16, 16, [&](int x, int y) {
      const int lx = x - 80, ly = y - 64 - 16 * f;
      const int wdt = ly < 7 ? ly : 14 - ly;
      if (ly >= 1 && ly <= 14 && std::abs(lx - 7.5) < wdt * 0.6 + 0.5)
        return int(a.Crystal[std::size_t(std::clamp((lx < 8 ? 3 : 2) + ((ly + f) % 4 == 0 ? 1 : 0), 0, 4))]);
      return int(a.FloorT(lx, ly));
    });
  }
  // Autotiles.
  auto at = [&](int n, const TTerrainStyle& st) {
    static constexpr int xs[12] = {0, 48, 0, 48, 96, 144, 96, 144, 96, 144, 96, 144};
    static constexpr int ys[12] = {128, 128, 192, 192, 0, 0, 64, 64, 128, 128, 192, 192};
    DrawAutotileBlock(c, xs[n - 1], ys[n - 1], st);
  };
  TTerrainStyle dust = onFloor(a, DirtTexture(TRamp{a.Floor[1], a.Floor[2], a.Floor[3], a.Floor[3], a.Floor[4]}, 72), 31);
  dust.Wave = 2;
  at(1, dust);
  TTerrainStyle rubble = onFloor(a, [&a](int x, int y) {
    const std::uint32_t h = Hash3(x / 3, y / 3, 73) % 5;
    return h == 0 ? a.Rock[3] : (h == 1 ? a.Rock[1] : a.Floor[2]);
  }, 32);
  rubble.Wave = 2;
  at(2, rubble);
  TTerrainStyle pit = onFloor(a, [&a](int, int) { return a.Void; }, 33);
  pit.EdgeIndex = a.Outline, pit.Wave = 1.5;
  pit.Face = [&a](int x, int) { return x % 4 == 0 ? a.Rock[0] : a.Rock[1]; };
  at(3, pit);
  TTerrainStyle lava = onFloor(a, lavaTexture(a, 0), 34);
  lava.EdgeIndex = a.Lava[0], lava.Wave = 2;
  at(4, lava);
  TTerrainStyle rock = onFloor(a, rockTop, 35);
  rock.EdgeIndex = a.Outline, rock.HighlightIndex = a.Rock[4], rock.OutsideShadow = a.FloorShadow;
  rock.Face = rockFace, rock.FaceHeight = 7, rock.Wave = 1.5, rock.Margin = 2;
  at(5, rock);
  TTerrainStyle tiles = onFloor(a, TilesTexture(a.Brick[2], a.Brick[3], a.Brick[1]), 36);
  tiles.EdgeIndex = a.Brick[0], tiles.Wave = 0, tiles.Radius = 1;
  at(6, tiles);
  TTerrainStyle moss = onFloor(a, GrassTexture(a.Moss, 74), 37);
  moss.Wave = 2.5;
  at(7, moss);
  TTerrainStyle brick = onFloor(a, [&a](int x, int y) { return ((x + y * 2) % 11 == 0) ? a.Brick[2] : a.Brick[3]; }, 38);
  brick.EdgeIndex = a.Outline, brick.HighlightIndex = a.Brick[4], brick.OutsideShadow = a.FloorShadow;
  brick.Face = brickFace, brick.FaceHeight = 7, brick.Wave = 0, brick.Radius = 0.5, brick.Margin = 2;
  at(8, brick);
  TTerrainStyle ice = onFloor(a, SandTexture(a.Ice, 75), 39);
  ice.EdgeIndex = a.Ice[0];
  at(9, ice);
  TTerrainStyle bones = onFloor(a, [&a](int x, int y) {
    const int lx = x & 15, ly = y & 15;
    if ((ly == 5 && lx >= 3 && lx <= 8) || (ly == 11 && lx >= 9 && lx <= 13)) return a.Bone;
    if ((lx == 3 || lx == 8) && (ly == 4 || ly == 6)) return a.Bone;
    return a.FloorT(x, y);
  }, 40);
  bones.Wave = 2;
  at(10, bones);
  TTerrainStyle poison = onFloor(a, WaterTexture(a.Poison, a.Poison[4], 0, 76), 41);
  poison.EdgeIndex = a.Poison[0], poison.Wave = 2;
  at(11, poison);
  TTerrainStyle carpet = onFloor(a, [&a](int x, int y) { return ((x + y) & 3) == 0 ? a.Poison[3] : a.Poison[2]; }, 42);
  carpet.EdgeIndex = a.Lava[3], carpet.Wave = 0, carpet.Radius = 1, carpet.Margin = 2;
  at(12, carpet);
  // Plain tiles: rock and brick wall faces, stairs, doors and floors.
  walls(a, c, 0, rockFace, rockTop);
  walls(a, c, 3, brickFace, [&a](int x, int) { return x % 5 == 0 ? a.Brick[2] : a.Brick[3]; });
  auto tile = [&](int k, const std::function<int(int, int)>& f) {
    const TVireoPoint o = PlainOrigin(k);
    c.Paint(o.X, o.Y, 16, 16, [&](int x, int y) { return f(x - o.X, y - o.Y); });
  };
  tile(12, [&](int x, int y) { return int(y % 4 == 3 ? a.Void : (y % 4 == 0 ? a.Brick[4] : a.Brick[2 + (x == 0 || x == 15 ? -1 : 0)])); });
  tile(13, [&](int x, int y) { return int(y % 4 == 3 ? a.Brick[0] : (y % 4 == 0 ? a.Brick[1] : (x < 2 || x > 13 ? a.Outline : a.Brick[3]))); });
  tile(14, [&](int x, int y) {
    if (x >= 3 && x <= 12 && y >= 2) return int(x == 3 || x == 12 || y == 2 || x % 3 == 0 ? a.Rock[0] : (y == 9 && x == 10 ? a.Lava[4] : a.Rock[2]));
    return int(brickFace(x, y));
  });
  tile(15, [&](int x, int y) {
    if (x >= 3 && x <= 12 && y >= 2) return int(x % 3 == 0 || y % 5 == 2 ? a.Rock[1] : a.Void);
    return int(brickFace(x, y));
  });
  tile(16, [&](int x, int y) {
    if (x >= 2 && x <= 13 && y >= 3) return int(a.Void);
    return int(rockFace(x, y));
  });
  tile(17, [&](int x, int y) { return int(TilesTexture(a.Brick[3], a.Brick[2], a.Brick[1])(x, y)); });
  const TTexture grounds[] = {a.FloorT, TilesTexture(a.Brick[3], a.Brick[2], a.Brick[1]), DirtTexture(TRamp{a.Floor[1], a.Floor[2], a.Floor[3], a.Floor[3], a.Floor[4]}, 77),
                              GrassTexture(a.Moss, 78), SandTexture(a.Ice, 79), PlankTexture(a.Wood, a.Wood[0], false)};
  for (int k = 18; k < 144; ++k) FillTile(c, PlainOrigin(k), grounds[((k - 18) / 6) % 6]);
  // Upper tiles: 1 stalagmite, 2 rock, 3 crystals, 4 skull and bones, 5 cobweb; 6/12 pillar;
  // 7 brazier; 8 barrel; 9 crate; 10 bars; 11 chain.
  auto obj = [&](int wdt, int hgt, int k, const std::function<void(TCanvas&)>& draw) {
    TTileObject o(wdt, hgt, a.Pal);
    draw(o.Canvas);
    o.Canvas.Outline(0, 0, wdt * 16, hgt * 16, a.Outline);
    o.PlaceUpper(c, k);
  };
  obj(1, 1, 1, [&](TCanvas& t) { for (int y = 2; y < 15; ++y) t.FillRect(8 - (y - 2) / 3, y, 1 + 2 * ((y - 2) / 3), 1, a.Rock[y < 6 ? 3 : 2]); });
  obj(1, 1, 2, [&](TCanvas& t) { DrawBoulder(t, 8, 9, 6, 5, a.Rock, a.Outline); });
  obj(1, 1, 3, [&](TCanvas& t) {
    for (int i = 0; i < 3; ++i)
      for (int y = 0; y < 10 - i * 2; ++y) t.FillRect(3 + i * 4, 14 - y, 3, 1, a.Crystal[std::size_t(y > 6 ? 4 : 2 + (i % 2))]);
  });
  obj(1, 1, 4, [&](TCanvas& t) { t.FillEllipse(6, 8, 4, 3.5, a.Bone); t.FillRect(4, 8, 2, 2, a.Void); t.FillRect(7, 8, 2, 2, a.Void); t.FillRect(9, 12, 6, 1, a.Bone); });
  obj(1, 1, 5, [&](TCanvas& t) { for (int i = 0; i < 5; ++i) t.Line(0, i * 3, 15 - i * 3, 0, a.Bone); t.Line(0, 0, 10, 10, a.Bone); });
  obj(1, 2, 6, [&](TCanvas& t) { t.FillRect(3, 2, 10, 29, a.Brick[2]); t.FillRect(3, 2, 3, 29, a.Brick[4]); t.FillRect(2, 1, 12, 3, a.Brick[3]); t.FillRect(2, 28, 12, 3, a.Brick[3]); });
  obj(1, 1, 7, [&](TCanvas& t) { t.FillRect(4, 8, 8, 4, a.Rock[1]); t.FillRect(7, 12, 2, 3, a.Rock[0]); t.FillEllipse(8, 6, 4, 4, a.Flame); t.FillEllipse(8, 7, 2, 2, a.Lava[4]); });
  obj(1, 1, 8, [&](TCanvas& t) { t.FillEllipse(8, 8.5, 5.5, 6.5, a.Wood[2]); t.FillRect(3, 5, 11, 1, a.Rock[1]); t.FillRect(3, 11, 11, 1, a.Rock[1]); });
  obj(1, 1, 9, [&](TCanvas& t) { t.FillRect(2, 3, 12, 12, a.Wood[3]); t.FrameRect(3, 4, 10, 10, a.Wood[1]); t.Line(3, 4, 12, 13, a.Wood[1]); });
  obj(1, 1, 10, [&](TCanvas& t) { for (int x = 1; x < 16; x += 4) t.FillRect(x, 0, 2, 16, a.Rock[2]); t.FillRect(0, 2, 16, 2, a.Rock[1]); });
  obj(1, 1, 11, [&](TCanvas& t) { for (int y = 0; y < 16; y += 3) t.FrameRect(6 + (y / 3) % 2, y, 3, 4, a.Rock[3]); });
  c.Save(file);
}
