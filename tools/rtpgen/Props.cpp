#include "Props.h"

#include <algorithm>
#include <cmath>

void DrawTreeCrown(TCanvas& c, double cx, double cy, double r, const TRamp& l, std::uint8_t outline, int seed) {
  // A cluster of leaf balls lit from the top left, outlined once at the end.
  const int n = 7;
  for (int i = 0; i < n; ++i) {
    const double ang = i * 6.283185307179586 / n + seed;
    const double rr = i == 0 ? 0 : r * 0.45;
    const double bx = cx + std::cos(ang) * rr, by = cy + std::sin(ang) * rr * 0.9;
    const double br = i == 0 ? r * 0.75 : r * 0.55;
    for (int y = int(by - br - 1); y <= int(by + br + 1); ++y)
      for (int x = int(bx - br - 1); x <= int(bx + br + 1); ++x) {
        const double dx = x + 0.5 - bx, dy = y + 0.5 - by;
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d > br) continue;
        double light = 0.55 - (dx + dy) / (br * 2.6) - (y + 0.5 - cy) / (r * 3.0);
        light += (Noise01(x, y, seed) - 0.5) * 0.3;
        if (d > br - 1.2) light -= 0.35;
        c.Set(x, y, l[std::size_t(std::clamp(int(light * 4 + 1), 1, 4))]);
      }
  }
  c.Outline(int(cx - r - 3), int(cy - r - 3), int(2 * r + 6), int(2 * r + 6), outline);
}

void DrawTrunk(TCanvas& c, int cx, int top, int bottom, int half, const TRamp& w, std::uint8_t outline) {
  for (int y = top; y <= bottom; ++y)
    for (int x = cx - half; x <= cx + half; ++x) {
      const int lx = x - (cx - half);
      c.Set(x, y, lx == 0 ? w[3] : lx >= 2 * half ? w[0] : ((x + y / 3) % 3 == 0 ? w[1] : w[2]));
    }
  c.Outline(cx - half - 1, top - 1, 2 * half + 3, bottom - top + 3, outline);
}

void DrawBoulder(TCanvas& c, double cx, double cy, double rx, double ry, const TRamp& r, std::uint8_t outline) {
  for (int y = int(cy - ry - 1); y <= int(cy + ry + 1); ++y)
    for (int x = int(cx - rx - 1); x <= int(cx + rx + 1); ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      if (dx * dx + dy * dy > 1) continue;
      double light = 0.6 - (dx + dy) * 0.45;
      if (dy > 0.55) light -= 0.3;
      c.Set(x, y, r[std::size_t(std::clamp(int(light * 4), 0, 4))]);
    }
  c.Outline(int(cx - rx - 2), int(cy - ry - 2), int(2 * rx + 5), int(2 * ry + 5), outline);
}

void DrawShadow(TCanvas& c, double cx, double cy, double rx, double ry, std::uint8_t shade) {
  c.FillEllipse(cx, cy, rx, ry, shade);
}

namespace {

std::uint8_t darkOf(TPropKit& k, std::uint8_t v, double f) {
  return k.Pal.Index(ShadeRgb(k.Pal.Colors()[v], f));
}

// Cliff faces: rock with strata, a grass lip on the top row and a dark foot on the bottom row.
void cliff(TPropKit& k, TCanvas& s, int kTop) {
  for (int part = 0; part < 3; ++part)
    for (int row = 0; row < 2; ++row) {
      const TVireoPoint o = PlainOrigin(kTop + row * 6 + part);
      s.Paint(o.X, o.Y, 16, 16, [&](int x, int y) {
        const int lx = x - o.X, ly = y - o.Y + row * 16;
        const bool leftEdge = part == 0 && lx < 2, rightEdge = part == 2 && lx > 13;
        if (row == 0 && ly < 3) return int(ly == 2 ? k.Outline : k.Grass(lx, ly));
        if (leftEdge || rightEdge) return int(k.Outline);
        if (ly % 7 == 2) return int(k.Rock[0]);
        const int shade = 1 + int(Hash3((lx + ly / 7 * 5) / 5, ly / 7, 3) % 3);
        if (row == 1 && ly > 28) return int(k.Rock[0]);
        return int(k.Rock[std::size_t(shade)]);
      });
    }
}

void bridgeH(TPropKit& k, TCanvas& s, int kFirst) {
  for (int part = 0; part < 3; ++part) {
    const TVireoPoint o = PlainOrigin(kFirst + part);
    const TTexture water = WaterTexture(k.Water, k.Water[4], 0, 5);
    s.Paint(o.X, o.Y, 16, 16, [&](int x, int y) {
      const int lx = x - o.X, ly = y - o.Y;
      if (ly < 2 || ly > 13) return int(water(lx, ly));
      if (ly == 2 || ly == 13) return int(k.Outline);
      if (ly == 3) return int(k.Wood[0]);
      if ((part == 0 && lx < 2) || (part == 2 && lx > 13)) return int(k.Dirt[2]);
      return int(lx % 4 == 3 ? k.Wood[0] : (lx % 4 == 0 ? k.Wood[4] : k.Wood[2 + (ly & 1)]));
    });
  }
}

void bridgeV(TPropKit& k, TCanvas& s, int kFirst) {
  for (int part = 0; part < 3; ++part) {
    const TVireoPoint o = PlainOrigin(kFirst + part);
    const TTexture water = WaterTexture(k.Water, k.Water[4], 0, 5);
    s.Paint(o.X, o.Y, 16, 16, [&](int x, int y) {
      const int lx = x - o.X, ly = y - o.Y;
      if (lx < 2 || lx > 13) return int(water(lx, ly));
      if (lx == 2 || lx == 13) return int(k.Outline);
      if ((part == 0 && ly < 2) || (part == 2 && ly > 13)) return int(k.Dirt[2]);
      return int(ly % 4 == 3 ? k.Wood[0] : (ly % 4 == 0 ? k.Wood[4] : k.Wood[2 + (lx & 1)]));
    });
  }
}

}  // namespace

void DrawFieldPlainTiles(TPropKit& k, TCanvas& s) {
  const TTexture dirt = DirtTexture(k.Dirt, 61), sand = SandTexture(k.Sand, 62), snow = SandTexture(k.Snow, 63);
  // Ground: plain, with tufts, flowers and pebbles; then dirt.
  FillTile(s, PlainOrigin(0), k.Grass);
  FillTile(s, PlainOrigin(1), GrassTexture(TRamp{k.Leaves[1], k.Leaves[2], k.Leaves[3], k.Leaves[3], k.Leaves[4]}, 64));
  FillTile(s, PlainOrigin(2), FlowerTexture(k.Grass, k.Flower[0], k.Flower[3], k.Flower[1], 65));
  FillTile(s, PlainOrigin(3), FlowerTexture(k.Grass, k.Flower[2], k.Flower[1], k.Flower[3], 66));
  FillTile(s, PlainOrigin(4), k.Grass);
  {
    const TVireoPoint o = PlainOrigin(4);
    for (int i = 0; i < 4; ++i)
      DrawBoulder(s, o.X + 3 + Hash3(i, 0, 9) % 10, o.Y + 3 + Hash3(i, 1, 9) % 10, 1.6, 1.2, k.Rock, k.Outline);
  }
  FillTile(s, PlainOrigin(5), dirt);
  cliff(k, s, 6);
  // Cave mouth and steps cut into the cliff.
  {
    cliff(k, s, 9);  // draws 9..11 and 15..17, then the middle column is reworked below
    const TVireoPoint t = PlainOrigin(10), b = PlainOrigin(16);
    s.FillEllipse(t.X + 8, t.Y + 16, 6, 10, k.Outline);
    s.FillEllipse(t.X + 8, t.Y + 17, 5, 9, k.Pal.Index({12, 10, 16}));
    s.FillRect(b.X + 2, b.Y, 12, 14, k.Pal.Index({12, 10, 16}));
    s.FrameRect(b.X + 2, b.Y - 1, 12, 16, k.Outline);
    s.FillRect(b.X + 2, b.Y + 14, 12, 2, k.Dirt[1]);
    const TVireoPoint st = PlainOrigin(11), sb = PlainOrigin(17);
    for (int y = 0; y < 32; ++y) {
      const TVireoPoint o = y < 16 ? st : sb;
      const int ly = y % 16;
      if (y < 3) continue;
      for (int x = 3; x < 13; ++x) s.Set(o.X + x, o.Y + ly, y % 4 == 0 ? k.Rock[0] : (y % 4 == 1 ? k.Rock[4] : k.Rock[3]));
      s.Set(o.X + 2, o.Y + ly, k.Outline), s.Set(o.X + 13, o.Y + ly, k.Outline);
    }
  }
  bridgeH(k, s, 18);
  bridgeV(k, s, 21);
  FillTile(s, PlainOrigin(24), sand);
  FillTile(s, PlainOrigin(25), snow);
  FillTile(s, PlainOrigin(26), dirt);
  for (int i = 0; i < 3; ++i) {
    const TVireoPoint o = PlainOrigin(26);
    DrawBoulder(s, o.X + 4 + Hash3(i, 2, 9) % 8, o.Y + 4 + Hash3(i, 3, 9) % 8, 2, 1.5, k.Rock, k.Outline);
  }
  {
    // Stepping stones in water.
    const TVireoPoint o = PlainOrigin(27);
    FillTile(s, o, WaterTexture(k.Water, k.Water[4], 0, 8));
    DrawBoulder(s, o.X + 5, o.Y + 5, 3.5, 3, k.Rock, k.Outline);
    DrawBoulder(s, o.X + 11, o.Y + 11, 3.5, 3, k.Rock, k.Outline);
  }
  FillTile(s, PlainOrigin(28), PlankTexture(k.Wood, k.Wood[0], false));
  FillTile(s, PlainOrigin(29), CobbleTexture(k.Rock, k.Rock[0], 67));
  // Obstacles on grass: stump, boulder, bush, well.
  for (int i = 30; i < 36; ++i) FillTile(s, PlainOrigin(i), k.Grass);
  {
    TVireoPoint o = PlainOrigin(30);
    DrawShadow(s, o.X + 8, o.Y + 12, 6, 2.5, darkOf(k, k.Grass(0, 0), 0.7));
    s.FillEllipse(o.X + 8, o.Y + 10, 5, 4, k.Wood[2]);
    s.FillEllipse(o.X + 8, o.Y + 7, 5, 2.5, k.Wood[4]);
    s.FillEllipse(o.X + 8, o.Y + 7, 2.5, 1.2, k.Wood[3]);
    s.Outline(o.X, o.Y, 16, 16, k.Outline);
    o = PlainOrigin(31);
    DrawShadow(s, o.X + 8, o.Y + 13, 7, 2.5, darkOf(k, k.Grass(0, 0), 0.7));
    DrawBoulder(s, o.X + 8, o.Y + 8, 6, 5.5, k.Rock, k.Outline);
    o = PlainOrigin(32);
    DrawShadow(s, o.X + 8, o.Y + 13, 7, 2.5, darkOf(k, k.Grass(0, 0), 0.7));
    DrawTreeCrown(s, o.X + 8, o.Y + 8, 6, k.Leaves, k.Outline, 3);
    o = PlainOrigin(33);
    s.FillEllipse(o.X + 8, o.Y + 8, 7, 6.5, k.Rock[2]);
    s.FillEllipse(o.X + 8, o.Y + 8, 5, 4.5, k.Water[1]);
    s.FillEllipse(o.X + 7, o.Y + 7, 2, 1.5, k.Water[3]);
    s.Outline(o.X, o.Y, 16, 16, k.Outline);
    o = PlainOrigin(34);
    FillTile(s, o, WaterTexture(k.Water, k.Water[4], 0, 9));
    s.FillEllipse(o.X + 6, o.Y + 7, 4, 3, k.Leaves[3]);
    s.FillEllipse(o.X + 11, o.Y + 11, 3, 2, k.Leaves[2]);
    s.Set(o.X + 6, o.Y + 6, k.Flower[3]);
    o = PlainOrigin(35);
    FillTile(s, o, dirt);
    s.FillEllipse(o.X + 8, o.Y + 8, 5, 4, k.Outline);
    s.FillEllipse(o.X + 8, o.Y + 9, 4, 3, k.Pal.Index({12, 10, 16}));
  }
  // The rest: quiet ground variants so every slot paints something sensible.
  const TTexture grounds[] = {k.Grass, dirt, sand, snow, DirtTexture(k.Rock, 70)};
  for (int i = 36; i < 144; ++i) {
    const int kind = ((i - 36) / 6) % 5;
    TTexture t = grounds[kind];
    if (kind == 0) t = GrassTexture(TRamp{k.Leaves[1], k.Leaves[2], k.Leaves[3], k.Leaves[3], k.Leaves[4]}, i);
    FillTile(s, PlainOrigin(i), t);
    const TVireoPoint o = PlainOrigin(i);
    if ((i % 6) == 5) DrawBoulder(s, o.X + 8, o.Y + 9, 3, 2.5, k.Rock, k.Outline);
  }
}

void DrawFieldUpperTiles(TPropKit& k, TCanvas& s) {
  auto tile = [&](int n) { TTileObject o(1, 1, k.Pal); (void)n; return o; };
  auto put = [&](TTileObject& o, int n) { o.PlaceUpper(s, n); };
  std::uint8_t shade = k.Pal.Index({24, 48, 26});
  // 1 rock, 2 bush, 3 flowers, 4 mushrooms, 5 signpost.
  { auto o = tile(1); DrawBoulder(o.Canvas, 8, 9, 6, 5, k.Rock, k.Outline); put(o, 1); }
  { auto o = tile(2); DrawTreeCrown(o.Canvas, 8, 9, 6, k.Leaves, k.Outline, 5); put(o, 2); }
  {
    auto o = tile(3);
    for (int i = 0; i < 5; ++i) {
      const int x = 2 + int(Hash3(i, 0, 12) % 12), y = 3 + int(Hash3(i, 1, 12) % 10);
      o.Canvas.Set(x, y + 1, k.Leaves[2]);
      o.Canvas.Set(x, y + 2, k.Leaves[2]);
      const std::uint8_t p = k.Flower[i % 3];
      o.Canvas.Set(x - 1, y, p), o.Canvas.Set(x + 1, y, p), o.Canvas.Set(x, y - 1, p), o.Canvas.Set(x, y, k.Flower[1]);
    }
    put(o, 3);
  }
  {
    auto o = tile(4);
    for (int i = 0; i < 3; ++i) {
      const int x = 4 + i * 4, y = 7 + (i % 2) * 4;
      o.Canvas.FillRect(x - 1, y, 2, 4, k.Sand[4]);
      o.Canvas.FillEllipse(x, y, 3, 2.2, k.Flower[0]);
      o.Canvas.Set(x - 1, y - 1, k.Flower[3]);
    }
    o.Canvas.Outline(0, 0, 16, 16, k.Outline);
    put(o, 4);
  }
  {
    auto o = tile(5);
    o.Canvas.FillRect(7, 6, 2, 10, k.Wood[1]);
    o.Canvas.FillRect(2, 2, 12, 6, k.Wood[3]);
    o.Canvas.FillRect(3, 4, 10, 1, k.Wood[1]);
    o.Canvas.Outline(0, 0, 16, 16, k.Outline);
    put(o, 5);
  }
  // 6..11 fence: left end, middle, right end, post, vertical run, gate.
  for (int part = 0; part < 6; ++part) {
    auto o = tile(6 + part);
    TCanvas& c = o.Canvas;
    if (part < 3) {
      c.FillRect(part == 0 ? 7 : 0, 6, part == 2 ? 9 : (part == 0 ? 9 : 16), 2, k.Wood[3]);
      c.FillRect(part == 0 ? 7 : 0, 11, part == 2 ? 9 : (part == 0 ? 9 : 16), 2, k.Wood[2]);
      c.FillRect(7, 3, 3, 12, k.Wood[2]);
      c.Set(7, 3, k.Wood[4]);
    } else if (part == 3) {
      c.FillRect(6, 3, 4, 12, k.Wood[2]);
    } else if (part == 4) {
      c.FillRect(7, 0, 3, 16, k.Wood[2]);
      c.FillRect(8, 0, 1, 16, k.Wood[3]);
    } else {
      c.FillRect(0, 4, 16, 2, k.Wood[3]);
      c.FillRect(0, 10, 16, 2, k.Wood[3]);
      c.FillRect(1, 3, 2, 11, k.Wood[2]), c.FillRect(13, 3, 2, 11, k.Wood[2]);
      c.Line(3, 5, 12, 11, k.Wood[1]);
    }
    c.Outline(0, 0, 16, 16, k.Outline);
    put(o, 6 + part);
  }
  // 12/13/18/19 crown and 24/25 trunk: the big tree.
  {
    TTileObject o(2, 3, k.Pal);
    DrawTrunk(o.Canvas, 16, 26, 44, 3, k.Wood, k.Outline);
    o.Canvas.FillRect(11, 44, 11, 2, k.Wood[0]);
    DrawTreeCrown(o.Canvas, 16, 17, 14, k.Leaves, k.Outline, 7);
    o.PlaceUpper(s, 12);
  }
  // 14/20 pine, 15/21 snowy pine, 16/22 lamp post, 17/23 standing stone.
  for (int variant = 0; variant < 2; ++variant) {
    TTileObject o(1, 2, k.Pal);
    TCanvas& c = o.Canvas;
    DrawTrunk(c, 8, 24, 30, 1, k.Wood, k.Outline);
    for (int tier = 0; tier < 3; ++tier) {
      const int top = 1 + tier * 7, h = 10, w = 3 + tier * 2;
      for (int y = 0; y < h; ++y)
        for (int x = -w * y / h - 1; x <= w * y / h + 1; ++x) {
          const bool snowy = variant == 1 && y < 3 + (x & 1);
          const std::uint8_t v = snowy ? k.Snow[4] : (x < 0 ? k.Leaves[3] : (x > 1 ? k.Leaves[1] : k.Leaves[2]));
          c.Set(8 + x, top + y, v);
        }
    }
    c.Outline(0, 0, 16, 32, k.Outline);
    o.PlaceUpper(s, 14 + variant);
  }
  {
    TTileObject o(1, 2, k.Pal);
    TCanvas& c = o.Canvas;
    c.FillRect(7, 8, 2, 23, k.Rock[1]);
    c.FillRect(5, 29, 6, 3, k.Rock[2]);
    c.FillRect(4, 1, 8, 8, k.Rock[1]);
    c.FillRect(5, 2, 6, 6, k.Pal.Index({255, 232, 140}));
    c.FillRect(6, 3, 2, 2, k.Pal.Index({255, 252, 220}));
    c.Outline(0, 0, 16, 32, k.Outline);
    o.PlaceUpper(s, 16);
  }
  {
    TTileObject o(1, 2, k.Pal);
    TCanvas& c = o.Canvas;
    c.Paint(3, 4, 10, 27, [&](int x, int y) {
      const double w = 5 - std::abs(y - 18) * 0.08;
      if (std::abs(x + 0.5 - 8) > w) return -1;
      return int(k.Rock[x < 6 ? 4 : (x > 10 ? 1 : 2 + (y / 5) % 2)]);
    });
    c.Outline(0, 0, 16, 32, k.Outline);
    o.PlaceUpper(s, 17);
  }
  // 26 tombstone, 27 barrel, 28 crate, 29 haystack.
  { auto o = tile(26); o.Canvas.FillRect(4, 4, 8, 10, k.Rock[2]); o.Canvas.FillEllipse(8, 5, 4, 3, k.Rock[2]);
    o.Canvas.FillRect(7, 6, 2, 5, k.Rock[0]); o.Canvas.FillRect(5, 7, 6, 1, k.Rock[0]); o.Canvas.Outline(0, 0, 16, 16, k.Outline); put(o, 26); }
  { auto o = tile(27); o.Canvas.FillEllipse(8, 8.5, 5.5, 6.5, k.Wood[2]); o.Canvas.FillRect(3, 5, 11, 1, k.Rock[1]);
    o.Canvas.FillRect(3, 11, 11, 1, k.Rock[1]); o.Canvas.FillEllipse(8, 3.5, 4, 1.5, k.Wood[3]); o.Canvas.Outline(0, 0, 16, 16, k.Outline); put(o, 27); }
  { auto o = tile(28); o.Canvas.FillRect(2, 3, 12, 12, k.Wood[3]); o.Canvas.FrameRect(3, 4, 10, 10, k.Wood[1]);
    o.Canvas.Line(3, 4, 12, 13, k.Wood[1]); o.Canvas.Outline(0, 0, 16, 16, k.Outline); put(o, 28); }
  { auto o = tile(29); o.Canvas.FillEllipse(8, 9, 7, 6, k.Sand[3]); o.Canvas.Paint(1, 3, 14, 12, [&](int x, int y) {
      return o.Canvas.Get(x, y) && (x + y * 2) % 5 == 0 ? int(k.Sand[1]) : -1; });
    o.Canvas.Outline(0, 0, 16, 16, k.Outline); put(o, 29); }
  // 30 tall grass, 31 reeds, 32 log, 33 lily pads.
  { auto o = tile(30); for (int x = 1; x < 15; x += 2) { const int h = 6 + int(Hash3(x, 0, 3) % 6);
      o.Canvas.Line(x, 15, x + (x % 3) - 1, 15 - h, k.Leaves[x % 4 + 1]); } put(o, 30); }
  { auto o = tile(31); for (int x = 2; x < 15; x += 3) { o.Canvas.Line(x, 15, x, 4 + x % 4, k.Leaves[3]);
      o.Canvas.FillRect(x, 3 + x % 4, 1, 3, k.Wood[1]); } put(o, 31); }
  { auto o = tile(32); o.Canvas.FillRect(1, 7, 14, 6, k.Wood[2]); o.Canvas.FillRect(1, 7, 14, 1, k.Wood[3]);
    o.Canvas.FillEllipse(13.5, 10, 2, 3, k.Wood[4]); o.Canvas.Outline(0, 0, 16, 16, k.Outline); put(o, 32); }
  (void)shade;
  // 36/37 + 42/43: a second, round tree; 38/44 a bare tree; 39/45 a fruit tree.
  for (int variant = 0; variant < 3; ++variant) {
    TTileObject o(1, 2, k.Pal);
    TCanvas& c = o.Canvas;
    DrawTrunk(c, 8, variant == 1 ? 16 : 19, 30, variant == 1 ? 1 : 2, k.Wood, k.Outline);
    if (variant == 1) {
      c.Line(8, 18, 3, 10, k.Wood[1]), c.Line(8, 16, 13, 7, k.Wood[1]), c.Line(8, 14, 7, 4, k.Wood[1]);
      c.Line(4, 11, 2, 8, k.Wood[1]), c.Line(12, 8, 14, 5, k.Wood[1]);
      c.Outline(0, 0, 16, 32, k.Outline);
    } else {
      DrawTreeCrown(c, 8, 11, 8, k.Leaves, k.Outline, 11 + variant);
      if (variant == 2)
        for (int i = 0; i < 5; ++i) c.FillRect(3 + int(Hash3(i, 0, 4) % 10), 5 + int(Hash3(i, 1, 4) % 9), 2, 2, k.Flower[0]);
    }
    o.PlaceUpper(s, 36 + variant);
  }
}
