#include "Artwork.h"

#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr TRgb kInk{26, 20, 28};

using TRamp = std::vector<std::uint8_t>;

// A ball lit from the top left.
void blob(TCanvas& c, double cx, double cy, double rx, double ry, const TRamp& r) {
  c.Paint(int(cx - rx - 1), int(cy - ry - 1), int(2 * rx + 3), int(2 * ry + 3), [&](int x, int y) {
    const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
    const double d2 = dx * dx + dy * dy;
    if (d2 > 1) return -1;
    const double light = 0.65 - 0.45 * dx - 0.45 * dy - 0.25 * d2 + (((x + y) & 1) ? 0.06 : -0.06);
    return int(r[std::size_t(std::clamp(int(light * r.size()), 0, int(r.size()) - 1))]);
  });
}

// Vertical gradient with a 2 × 2 ordered dither between the ramp's steps.
void gradient(TCanvas& c, int x, int y, int w, int h, const TRamp& r) {
  static constexpr double bayer[2][2] = {{0.125, 0.625}, {0.875, 0.375}};
  c.Paint(x, y, w, h, [&](int i, int j) {
    const double t = double(j - y) / std::max(1, h - 1) * (r.size() - 1);
    const int base = int(t);
    const int pick = (t - base) > bayer[j & 1][i & 1] ? base + 1 : base;
    return int(r[std::size_t(std::min(pick, int(r.size()) - 1))]);
  });
}

void mountains(TCanvas& c, int baseY, int height, double freq, int seed, std::uint8_t fill, std::uint8_t light) {
  for (int x = 0; x < c.Width(); ++x) {
    const double h = height * (0.55 + 0.3 * std::sin(x * freq + seed) + 0.15 * std::sin(x * freq * 2.7 + seed * 3) +
                               0.1 * (SmoothNoise(x, 0, 8, seed) - 0.5));
    for (int y = baseY - int(h); y < baseY; ++y) {
      const double slope = std::sin(x * freq + seed) - std::sin((x + 1) * freq + seed);
      c.Set(x, y, slope > 0 && y < baseY - int(h) + 6 ? light : fill);
    }
  }
}

void tree(TCanvas& c, int x, int baseY, int h, std::uint8_t dark, std::uint8_t mid, std::uint8_t trunk) {
  c.FillRect(x - 1, baseY - h / 3, 3, h / 3, trunk);
  for (int i = 0; i < h - h / 4; ++i) {
    const int w = (i * 5) / 8 / 2 + 1;
    c.FillRect(x - w, baseY - h + i, 2 * w + 1, 1, i % 4 == 0 ? mid : dark);
  }
}

void sparkle(TCanvas& c, int x, int y, int r, std::uint8_t v) {
  for (int i = -r; i <= r; ++i) c.Set(x + i, y, v), c.Set(x, y + i, v);
}

}  // namespace

// --- System graphics ---------------------------------------------------------------------------
// Layout: (0,0) 32 × 32 window background; (32,0) 32 × 32 window frame with 8-pixel corners;
// (64,0) 32 × 32 selection cursor; (96,0) 16 × 8 up and (96,8) 16 × 8 down arrows; (112,0)
// 16 × 16 text shadow colour; (128,0) 32 × 16 two frames of the "more text" mark; (0,32)
// 160 × 16 gauge bar pieces; (0,48) and (0,64) twenty 16 × 16 text colours (the colour of
// text colour i sits at (16 × (i mod 10), 56 + 16 × (i div 10))). 160 × 80 is the only size the
// material manager accepts for this folder.
namespace {

void systemGraphic(const std::filesystem::path& file, TRgb top, TRgb bottom, TRgb frame) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(160, 80, pal);
  gradient(c, 0, 0, 32, 32, pal.Ramp(top, bottom, 6));
  const TRamp f = pal.Ramp(ShadeRgb(frame, 0.5), ShadeRgb(frame, 1.3), 4);
  const std::uint8_t ink = c.Idx(kInk);
  // Frame: a bevelled border with corner studs.
  c.FrameRect(32, 0, 32, 32, ink);
  c.FrameRect(33, 1, 30, 30, f[3]);
  c.FrameRect(34, 2, 28, 28, f[2]);
  c.FrameRect(35, 3, 26, 26, f[1]);
  for (int cx : {33, 59})
    for (int cy : {1, 27}) c.FillRect(cx, cy, 4, 4, f[3]), c.Set(cx + 1, cy + 1, c.Idx({255, 255, 255}));
  // Cursor: a bright rounded frame.
  const std::uint8_t cur = c.Idx({250, 250, 210}), curD = c.Idx({200, 180, 120});
  c.FrameRect(64, 0, 32, 32, curD);
  c.FrameRect(65, 1, 30, 30, cur);
  c.FillRect(66, 2, 28, 28, c.Idx(ShadeRgb(top, 1.8)));
  // Arrows.
  for (int i = 0; i < 4; ++i) {
    c.FillRect(104 - i * 2, 2 + i, 1 + i * 4, 1, f[3]);
    c.FillRect(104 - i * 2, 13 - i, 1 + i * 4, 1, f[3]);
  }
  c.FillRect(112, 0, 16, 16, c.Idx({16, 16, 24}));
  for (int frameNo = 0; frameNo < 2; ++frameNo)
    for (int i = 0; i < 4; ++i) c.FillRect(128 + 16 * frameNo + 4 + i, 4 + i + frameNo * 2, 8 - 2 * i, 1, cur);
  // Gauges: empty, HP, MP, time.
  const TRgb gauges[4] = {{40, 40, 50}, {80, 220, 90}, {90, 150, 250}, {240, 200, 70}};
  for (int g = 0; g < 4; ++g) {
    const TRamp r = pal.Ramp(ShadeRgb(gauges[g], 0.6), gauges[g], 3);
    for (int y = 0; y < 16; ++y) c.FillRect(40 * g, 32 + y, 40, 1, r[std::size_t(y < 5 ? 2 : (y < 11 ? 1 : 0))]);
  }
  // Text colours.
  const TRgb text[20] = {{255, 255, 255}, {140, 180, 255}, {255, 130, 110}, {140, 240, 140}, {255, 230, 110},
                         {200, 200, 200}, {255, 170, 220}, {150, 240, 240}, {255, 180, 90}, {190, 150, 255},
                         {120, 120, 120}, {90, 120, 220}, {200, 60, 60}, {60, 170, 80}, {210, 170, 40},
                         {160, 110, 70}, {220, 90, 160}, {60, 160, 170}, {220, 120, 30}, {120, 80, 200}};
  for (int i = 0; i < 20; ++i) {
    const int x = 16 * (i % 10), y = 48 + 16 * (i / 10);
    c.FillRect(x, y, 16, 16, c.Idx(text[i]));
    c.FillRect(x, y + 12, 16, 4, c.Idx(ShadeRgb(text[i], 0.75)));
  }
  c.Save(file);
}

}  // namespace

void MakeSystemGraphic(const std::filesystem::path& file) {
  systemGraphic(file, {46, 70, 150}, {14, 20, 60}, {190, 170, 120});
}

void MakeNightSystemGraphic(const std::filesystem::path& file) {
  systemGraphic(file, {60, 40, 80}, {12, 8, 20}, {170, 170, 190});
}

// --- Title and game over -----------------------------------------------------------------------

void MakeTitle(const std::filesystem::path& file) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(320, 240, pal);
  // The sky reaches the near hills: where they are low, nothing else covers the gap.
  gradient(c, 0, 0, 320, 165, pal.Ramp({30, 30, 90}, {250, 170, 110}, 8));
  // A low sun behind far mountains.
  c.FillEllipse(220, 128, 26, 26, c.Idx({255, 226, 150}));
  c.FillEllipse(220, 128, 20, 20, c.Idx({255, 244, 200}));
  mountains(c, 150, 60, 0.035, 2, c.Idx({110, 90, 140}), c.Idx({150, 120, 170}));
  mountains(c, 165, 45, 0.05, 7, c.Idx({70, 60, 100}), c.Idx({100, 80, 130}));
  gradient(c, 0, 165, 320, 75, pal.Ramp({50, 80, 60}, {20, 36, 30}, 4));
  // A castle on the hill.
  const std::uint8_t wall = c.Idx({40, 34, 60}), win = c.Idx({255, 210, 120});
  c.FillEllipse(90, 175, 70, 22, c.Idx({36, 56, 44}));
  c.FillRect(60, 118, 60, 45, wall);
  for (int tx : {52, 78, 112}) {
    c.FillRect(tx, 100 + (tx == 78 ? -14 : 0), 16, 63 - (tx == 78 ? -14 : 0), wall);
    for (int i = 0; i < 9; ++i) c.FillRect(tx - 1 + i, 92 + (tx == 78 ? -14 : 0) + i, 18 - 2 * i, 1, wall);
    c.FillRect(tx + 6, 112 + (tx == 78 ? -8 : 0), 3, 5, win);
  }
  for (int i = 0; i < 5; ++i) c.FillRect(66 + i * 10, 114, 5, 4, wall);
  c.FillRect(84, 142, 10, 21, c.Idx({20, 16, 30}));
  for (int i = 0; i < 14; ++i) tree(c, 150 + i * 12 + int(Hash3(i, 0, 3) % 6), 190 + int(Hash3(i, 1, 3) % 20), 20 + int(Hash3(i, 2, 3) % 12), c.Idx({20, 40, 30}), c.Idx({40, 70, 50}), c.Idx({30, 20, 20}));
  for (int i = 0; i < 40; ++i) c.Set(int(Hash3(i, 0, 9) % 320), int(Hash3(i, 1, 9) % 60), c.Idx({255, 255, 230}));
  // An emblem: a sword over a banner.
  const std::uint8_t banner = c.Idx({140, 30, 40}), bannerL = c.Idx({190, 60, 60}), gold = c.Idx({240, 200, 80});
  c.FillRect(90, 24, 140, 26, banner);
  c.FillRect(90, 24, 140, 3, bannerL);
  for (int i = 0; i < 13; ++i) c.FillRect(80 + i / 2, 26 + i, 10 - i / 2, 1, banner), c.FillRect(230, 26 + i, 10 - i / 2, 1, banner);
  c.FrameRect(92, 28, 136, 18, gold);
  c.FillRect(158, 14, 4, 52, c.Idx({220, 226, 240}));
  c.FillRect(150, 50, 20, 3, gold);
  c.FillRect(158, 53, 4, 10, c.Idx({110, 70, 40}));
  c.Save(file);
}

void MakeGameOver(const std::filesystem::path& file) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(320, 240, pal);
  gradient(c, 0, 0, 320, 240, pal.Ramp({10, 4, 8}, {90, 20, 24}, 7));
  // A sword left in the ground on a barren hill.
  c.FillEllipse(160, 250, 190, 60, c.Idx({24, 14, 14}));
  const std::uint8_t steel = c.Idx({150, 150, 170}), steelL = c.Idx({210, 210, 230});
  c.FillRect(157, 120, 6, 76, steel), c.FillRect(157, 120, 2, 76, steelL);
  c.FillRect(146, 114, 28, 5, c.Idx({120, 90, 50}));
  c.FillRect(158, 96, 4, 18, c.Idx({80, 50, 30}));
  c.FillEllipse(160, 94, 4, 4, c.Idx({200, 40, 50}));
  const std::string text = "FIN DEL JUEGO";
  const int w = TextWidth5x7(text, 3);
  DrawText5x7(c, 160 - w / 2 + 2, 44, text, c.Idx({40, 0, 0}), 3);
  DrawText5x7(c, 160 - w / 2, 42, text, c.Idx({240, 220, 210}), 3);
  c.Save(file);
}

// --- Monsters --------------------------------------------------------------------------------

void MakeMonster(const std::filesystem::path& file, int kind) {
  TPaletteBuilder pal({0, 0, 0});
  static constexpr int sizes[6][2] = {{64, 56}, {96, 64}, {64, 80}, {96, 112}, {80, 96}, {160, 128}};
  TCanvas c(sizes[kind][0], sizes[kind][1], pal);
  const std::uint8_t white = c.Idx({250, 250, 250}), ink = c.Idx(kInk), red = c.Idx({230, 50, 40});
  auto eyes = [&](double x1, double x2, double y, double r) {
    c.FillEllipse(x1, y, r, r, white), c.FillEllipse(x2, y, r, r, white);
    c.FillEllipse(x1 + r * 0.3, y + r * 0.2, r * 0.5, r * 0.6, ink), c.FillEllipse(x2 + r * 0.3, y + r * 0.2, r * 0.5, r * 0.6, ink);
  };
  switch (kind) {
    case 0: {  // a slime
      const TRamp g = pal.Ramp({30, 100, 50}, {170, 250, 170}, 6);
      c.Paint(4, 8, 56, 46, [&](int x, int y) {
        const double dx = (x + 0.5 - 32) / 27.0, dy = (y + 0.5 - 40) / 16.0;
        const double top = (y + 0.5 - 40) < 0 ? (x + 0.5 - 32) * (x + 0.5 - 32) / 729.0 + std::pow((y + 0.5 - 40) / 30.0, 2) : dx * dx + dy * dy;
        if (top > 1) return -1;
        const double light = 0.7 - 0.4 * dx - 0.5 * (y - 10) / 44.0;
        return int(g[std::size_t(std::clamp(int(light * 6), 0, 5))]);
      });
      c.FillEllipse(22, 22, 4, 3, white);
      eyes(24, 40, 36, 4);
      c.FillRect(28, 46, 8, 2, ink);
      break;
    }
    case 1: {  // a bat
      const TRamp p = pal.Ramp({50, 30, 70}, {170, 130, 200}, 5);
      for (int side : {-1, 1})
        c.Paint(0, 0, 96, 64, [&](int x, int y) {
          const double dx = (x + 0.5 - 48) * side;
          if (dx < 10 || dx > 46) return -1;
          const double top = 14 + (dx - 10) * 0.3, bottom = 40 - 6 * std::abs(std::sin((dx - 10) / 36.0 * 3 * kPi));
          if (y < top || y > bottom) return -1;
          return int(p[std::size_t(y < top + 3 ? 3 : 1)]);
        });
      blob(c, 48, 32, 14, 15, p);
      c.FillRect(38, 12, 5, 10, p[2]), c.FillRect(53, 12, 5, 10, p[2]);
      c.FillEllipse(42, 30, 3, 3, red), c.FillEllipse(54, 30, 3, 3, red);
      c.FillRect(44, 40, 2, 3, white), c.FillRect(50, 40, 2, 3, white);
      break;
    }
    case 2: {  // a walking mushroom
      const TRamp cap = pal.Ramp({120, 20, 30}, {250, 110, 100}, 5), stem = pal.Ramp({170, 150, 120}, {250, 240, 220}, 4);
      blob(c, 32, 56, 14, 18, stem);
      c.FillRect(20, 72, 10, 6, stem[1]), c.FillRect(36, 72, 10, 6, stem[1]);
      c.Paint(2, 6, 60, 40, [&](int x, int y) {
        const double dx = (x + 0.5 - 32) / 30.0, dy = (y + 0.5 - 40) / 32.0;
        if (dx * dx + dy * dy > 1 || y > 40) return -1;
        return int(cap[std::size_t(std::clamp(int((0.8 - 0.5 * dx - 0.4 * (y - 8) / 32.0) * 5), 0, 4))]);
      });
      for (auto [x, y] : {std::pair{18, 22}, {34, 14}, {46, 28}, {26, 34}}) c.FillEllipse(x, y, 4, 3, white);
      eyes(26, 38, 54, 3.5);
      break;
    }
    case 3: {  // a stone golem
      const TRamp r = pal.Ramp({50, 50, 60}, {200, 196, 186}, 6);
      blob(c, 48, 62, 30, 30, r);
      blob(c, 48, 26, 16, 14, r);
      blob(c, 16, 62, 12, 22, r), blob(c, 80, 62, 12, 22, r);
      blob(c, 34, 98, 12, 12, r), blob(c, 62, 98, 12, 12, r);
      c.FillEllipse(42, 26, 3, 2, c.Idx({120, 240, 255})), c.FillEllipse(55, 26, 3, 2, c.Idx({120, 240, 255}));
      c.Line(30, 50, 44, 70, r[0]), c.Line(60, 46, 54, 80, r[0]);
      break;
    }
    case 4: {  // a spectre
      const TRamp g = pal.Ramp({70, 80, 130}, {230, 240, 255}, 6);
      c.Paint(0, 0, 80, 96, [&](int x, int y) {
        const double dx = (x + 0.5 - 40) / 30.0;
        const double hem = 84 + 6 * std::sin(x * 0.5);
        if (y > hem) return -1;
        const double top = y < 40 ? ((x + 0.5 - 40) * (x + 0.5 - 40) / 900.0 + std::pow((y - 40) / 34.0, 2)) : dx * dx * (1.0 - (y - 40) / 140.0);
        if (top > 1) return -1;
        const double light = 0.8 - 0.4 * dx - (y / 96.0) * 0.5 + (((x ^ y) & 1) ? 0.05 : 0);
        return int(g[std::size_t(std::clamp(int(light * 6), 0, 5))]);
      });
      c.FillEllipse(30, 34, 5, 7, ink), c.FillEllipse(50, 34, 5, 7, ink);
      c.FillEllipse(40, 54, 6, 8, ink);
      break;
    }
    default: {  // a dragon
      const TRamp s = pal.Ramp({30, 70, 40}, {160, 220, 110}, 6), belly = pal.Ramp({180, 150, 80}, {250, 230, 160}, 4);
      const TRamp wing = pal.Ramp({60, 40, 60}, {170, 110, 140}, 4);
      for (int i = 0; i < 5; ++i) {
        const double a = -0.2 + i * 0.22;
        c.Paint(0, 0, 160, 128, [&](int x, int y) {
          const double dx = x - 96.0, dy = 60.0 - y;
          const double ang = std::atan2(dy, dx), r = std::hypot(dx, dy);
          return (ang > a && ang < a + 0.18 && r < 70 - i * 4 && r > 10) ? int(wing[std::size_t(1 + (i % 3))]) : -1;
        });
      }
      c.Paint(100, 80, 60, 40, [&](int x, int y) {  // tail
        const double t = (x - 100) / 60.0, cy = 100 + 14 * std::sin(t * kPi);
        return std::abs(y - cy) < 8 * (1 - t) + 1 ? int(s[2]) : -1;
      });
      blob(c, 90, 84, 36, 30, s);
      blob(c, 86, 94, 20, 16, belly);
      c.Paint(40, 30, 50, 50, [&](int x, int y) {  // neck
        const double t = (y - 30) / 50.0, cx = 52 + t * 30;
        return std::abs(x - cx) < 9 ? int(s[3]) : -1;
      });
      blob(c, 46, 30, 20, 14, s);
      c.FillRect(22, 30, 14, 4, s[1]);
      c.Line(40, 18, 32, 4, belly[2]), c.Line(52, 17, 50, 2, belly[2]);
      c.FillEllipse(42, 26, 3, 3, c.Idx({255, 220, 60}));
      blob(c, 66, 110, 10, 10, s), blob(c, 110, 110, 10, 10, s);
    }
  }
  c.Outline(0, 0, c.Width(), c.Height(), ink);
  c.Save(file);
}

// --- Backdrops and panoramas -------------------------------------------------------------------

void MakeBackdrop(const std::filesystem::path& file, int kind) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(320, 160, pal);
  switch (kind) {
    case 0:  // grassland
      gradient(c, 0, 0, 320, 90, pal.Ramp({80, 140, 230}, {200, 230, 250}, 6));
      mountains(c, 90, 40, 0.03, 1, c.Idx({120, 150, 180}), c.Idx({170, 190, 210}));
      gradient(c, 0, 90, 320, 70, pal.Ramp({110, 180, 80}, {50, 120, 50}, 5));
      for (int i = 0; i < 80; ++i) c.FillRect(int(Hash3(i, 0, 4) % 320), 92 + int(Hash3(i, 1, 4) % 66), 1, 2, c.Idx({40, 100, 40}));
      break;
    case 1:  // forest
      gradient(c, 0, 0, 320, 110, pal.Ramp({70, 120, 110}, {160, 200, 170}, 5));
      for (int i = 0; i < 30; ++i) tree(c, i * 11 + int(Hash3(i, 0, 5) % 8), 108, 50 + int(Hash3(i, 1, 5) % 30), c.Idx({40, 80, 60}), c.Idx({60, 110, 80}), c.Idx({50, 40, 30}));
      for (int i = 0; i < 14; ++i) tree(c, i * 24 + int(Hash3(i, 2, 5) % 10), 126, 80 + int(Hash3(i, 3, 5) % 30), c.Idx({16, 44, 28}), c.Idx({30, 70, 40}), c.Idx({40, 28, 20}));
      gradient(c, 0, 120, 320, 40, pal.Ramp({60, 100, 40}, {30, 60, 26}, 4));
      break;
    case 2:  // cave
      gradient(c, 0, 0, 320, 160, pal.Ramp({20, 16, 24}, {70, 60, 66}, 6));
      for (int x = 0; x < 320; ++x) {
        const int top = int(20 + 14 * std::sin(x * 0.07) + 10 * SmoothNoise(x, 0, 6, 3));
        c.FillRect(x, 0, 1, top, c.Idx({14, 10, 16}));
        const int stal = (x % 37 < 6) ? int(30 - std::abs(x % 37 - 3) * 8) : 0;
        if (stal > 0) c.FillRect(x, top, 1, stal, c.Idx({40, 34, 44}));
      }
      gradient(c, 0, 118, 320, 42, pal.Ramp({60, 52, 50}, {34, 28, 30}, 4));
      for (int i = 0; i < 6; ++i) sparkle(c, int(Hash3(i, 0, 6) % 300) + 10, 40 + int(Hash3(i, 1, 6) % 60), 1, c.Idx({120, 220, 255}));
      break;
    case 3:  // beach
      gradient(c, 0, 0, 320, 70, pal.Ramp({60, 140, 230}, {190, 230, 250}, 6));
      gradient(c, 0, 70, 320, 40, pal.Ramp({40, 120, 200}, {90, 180, 220}, 4));
      for (int i = 0; i < 40; ++i) c.FillRect(int(Hash3(i, 0, 7) % 310), 72 + int(Hash3(i, 1, 7) % 36), 8, 1, c.Idx({200, 240, 255}));
      gradient(c, 0, 110, 320, 50, pal.Ramp({240, 220, 160}, {200, 170, 110}, 4));
      break;
    default:  // snowfield
      gradient(c, 0, 0, 320, 100, pal.Ramp({150, 170, 210}, {230, 236, 250}, 6));
      mountains(c, 100, 50, 0.04, 5, c.Idx({200, 210, 235}), c.Idx({250, 252, 255}));
      gradient(c, 0, 100, 320, 60, pal.Ramp({245, 248, 255}, {190, 200, 225}, 4));
      for (int i = 0; i < 60; ++i) c.Set(int(Hash3(i, 0, 8) % 320), int(Hash3(i, 1, 8) % 160), c.Idx({255, 255, 255}));
  }
  c.Save(file);
}

void MakePanorama(const std::filesystem::path& file, int kind) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(320, 240, pal);
  if (kind == 0) {
    gradient(c, 0, 0, 320, 240, pal.Ramp({70, 130, 220}, {200, 230, 255}, 8));
    const std::uint8_t cloud = c.Idx({250, 250, 255}), shade = c.Idx({210, 220, 240});
    for (int i = 0; i < 9; ++i) {
      const double x = Hash3(i, 0, 1) % 320, y = 20 + Hash3(i, 1, 1) % 180;
      for (int j = 0; j < 5; ++j) c.FillEllipse(x + j * 9 - 18, y + (j % 2) * 3 + 2, 10, 6, shade);
      for (int j = 0; j < 5; ++j) c.FillEllipse(x + j * 9 - 18, y + (j % 2) * 3, 9, 5, cloud);
    }
  } else {
    gradient(c, 0, 0, 320, 240, pal.Ramp({4, 6, 24}, {30, 30, 80}, 6));
    for (int i = 0; i < 160; ++i) c.Set(int(Hash3(i, 0, 2) % 320), int(Hash3(i, 1, 2) % 240), c.Idx(Hash3(i, 2, 2) % 3 ? TRgb{200, 200, 230} : TRgb{255, 255, 255}));
    c.FillEllipse(250, 50, 18, 18, c.Idx({250, 246, 220}));
    c.FillEllipse(257, 45, 15, 15, c.Idx({10, 12, 40}));
  }
  c.Save(file);
}

void MakePicture(const std::filesystem::path& file, int kind) {
  TPaletteBuilder pal({0, 0, 0});
  if (kind == 0) {
    TCanvas c(240, 160, pal);
    const TRamp paper = pal.Ramp({190, 160, 110}, {240, 220, 170}, 4);
    c.Paint(0, 0, 240, 160, [&](int x, int y) { return int(paper[std::size_t(1 + int(SmoothNoise(x, y, 16, 3) * 3))]); });
    const std::uint8_t ink = c.Idx({90, 60, 40}), sea = c.Idx({150, 170, 170});
    c.Paint(8, 8, 224, 144, [&](int x, int y) {
      const double land = SmoothNoise(x, y, 28, 9) * 0.7 + SmoothNoise(x, y, 9, 10) * 0.3;
      if (land < 0.45) return int(sea);
      if (land < 0.47) return int(ink);
      return -1;
    });
    c.FrameRect(4, 4, 232, 152, ink);
    c.FrameRect(6, 6, 228, 148, ink);
    for (int i = 0; i < 4; ++i) c.FillEllipse(60 + i * 40, 60 + (i % 2) * 30, 2, 2, c.Idx({180, 40, 40}));
    c.Line(200, 120, 220, 140, ink), c.Line(220, 120, 200, 140, ink);
    c.Save(file);
  } else {
    TCanvas c(160, 120, pal);
    c.FillRect(0, 0, 160, 120, c.Idx({245, 238, 214}));
    for (int y = 20; y < 100; y += 10) c.Line(16, y, 144 - (y == 90 ? 60 : 0), y, c.Idx({150, 140, 130}));
    c.FillEllipse(130, 104, 8, 8, c.Idx({180, 30, 40}));
    c.FrameRect(0, 0, 160, 120, c.Idx({170, 150, 110}));
    c.Save(file);
  }
}

// --- Battle animation sheets: 25 patterns of 96 × 96, five to a row ---------------------------

void MakeBattleSheet(const std::filesystem::path& file, int kind) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(480, 480, pal);
  static const TRgb hues[4][2] = {{{200, 200, 220}, {255, 255, 255}}, {{200, 40, 20}, {255, 240, 120}},
                                  {{40, 110, 220}, {230, 250, 255}}, {{230, 190, 60}, {255, 255, 230}}};
  const TRamp r = pal.Ramp(hues[kind][0], hues[kind][1], 6);
  for (int n = 0; n < 25; ++n) {
    const int ox = 96 * (n % 5), oy = 96 * (n / 5);
    const double t = n / 24.0;
    c.Paint(ox, oy, 96, 96, [&](int x, int y) {
      const double dx = x - ox - 48 + 0.5, dy = y - oy - 48 + 0.5;
      const double d = std::hypot(dx, dy), a = std::atan2(dy, dx);
      double v = -1;
      switch (kind) {
        case 0: {  // slashes: an arc sweeping across, then sparks
          const double arc = std::abs(d - 34) < 3 + 3 * std::sin(t * kPi) ? 1 : 0;
          const double sweep = (a + kPi) / (2 * kPi);
          if (arc && sweep < t * 1.6 && sweep > t * 1.6 - 0.4) v = 1 - (t * 1.6 - sweep) * 2.5;
          break;
        }
        case 1: {  // fire: tongues of flame rising from the target, swelling then dying down
          const double strength = std::sin(t * kPi);
          const double height = 24 + 56 * strength, h = (84 - (y - oy)) / height;
          if (h < 0 || h > 1) break;
          const double sway = (SmoothNoise(x, y - oy + n * 7, 7, 31) - 0.5) * 14 * h;
          const double half = (8 + 26 * strength) * std::pow(1 - h, 0.6) * (0.75 + 0.25 * std::sin((x - ox) * 0.35 + n));
          const double off = std::abs(dx - sway);
          if (off < half) v = 1.0 - off / half * 0.55 - h * 0.5;
          break;
        }
        case 2: {  // ice: crystal spikes growing outwards
          const double spikes = std::abs(std::cos(a * 3)) * (10 + 34 * std::min(1.0, t * 2));
          if (d < spikes && std::abs(std::sin(a * 3)) < 0.35) v = 1 - d / (spikes + 1) + 0.2;
          if (d < 8 + 10 * t) v = 0.9;
          break;
        }
        default: {  // light: a widening ring with twinkling crosses on it
          const double ring = 8 + 40 * t;
          if (std::abs(d - ring) < 2.0) v = 0.9 - t * 0.4;
          for (int k = 0; k < 6; ++k) {
            const double ang = k * kPi / 3 + t * 2;
            const double sx = std::cos(ang) * ring, sy = std::sin(ang) * ring;
            const double ax = std::abs(dx - sx), ay = std::abs(dy - sy);
            const double arm = 3 + 3 * std::abs(std::sin(t * 9 + k));
            if ((ax < 0.8 && ay < arm) || (ay < 0.8 && ax < arm)) v = 1;
          }
          break;
        }
      }
      if (v <= 0) return -1;
      return int(r[std::size_t(std::clamp(int(v * 6), 0, 5))]);
    });
  }
  c.Save(file);
}
